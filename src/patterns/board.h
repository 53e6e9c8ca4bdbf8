// Points, colours, the board and the pattern tables: the vocabulary every layer shares.
#pragma once

#include <array>
#include <cstdint>

#include "patterns/geometry.h"
#include "patterns/lines.h"

namespace zel {

// Colours. Black moves first; 3 - c is the other colour.
inline constexpr int kBlack = 1;
inline constexpr int kWhite = 2;
constexpr int Opponent(int colour) {
  return 3 - colour;
}

// Board values. A value below 1 means no stone. A negative value is the pattern update's mark of
// a point where Black would make a forbidden shape: the move choice and the search do not play
// Black's fours and threes there, but a Black five on a marked point still counts (it is
// listed, and the search plays it as a win).
inline constexpr int kEmpty = 0;
inline constexpr int kForbiddenMark = -1;  // Black would make a double three or a double four
inline constexpr int kOverlineMark = -2;   // Black would make six or more in a row

// A point's open threes, fours, straight fours and fives of one colour, by direction: bit d of
// group k is set when the code in direction d is the group's code. What the threat lists are
// made of, kept with the codes so that listing a point reads one word.
using ThreatMask = std::uint16_t;
inline constexpr int kThreeGroup = 0;
inline constexpr int kFourGroup = 4;
inline constexpr int kStraightFourGroup = 8;
inline constexpr int kFiveGroup = 12;
constexpr unsigned Directions(ThreatMask mask, int group) {
  return static_cast<unsigned>(mask >> group) & 0xfU;
}
// The number of directions in a group's four bits, without a call where the machine has no
// population count instruction.
constexpr int CountDirections(unsigned dirs) {
  constexpr std::array<int, 16> kCounts{0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4};
  return kCounts[dirs & 0xfU];
}

// Board values, line codes and threat counts all fit in a byte, which keeps a position small
// (4,104 bytes with the line and threat masks): the search copies one into every node.
using BoardValue = std::int8_t;
using PatternValue = std::uint8_t;
using Board = std::array<std::array<BoardValue, kBoardSize>, kBoardSize>;

// A point's codes of one colour, by direction, then (slot 4) its threat count: the number of
// directions whose code is a threat (above 6). White's counts are White's threats; Black's
// count both colours' together, so that a 0 there says the point is quiet for either colour.
using PatternEntry = std::array<PatternValue, 5>;
inline constexpr int kThreatCountSlot = 4;

// One colour's line codes, kept line by line as patterns/lines.h lays them out, so that the
// pattern update reads and writes a line's codes sixteen at a time: kCodeSlack bytes after the
// last line give the last lines' reads room.
inline constexpr int kCodeSlack = 16;
using CodeTable = std::array<PatternValue, kCodeCells + kCodeSlack>;
using CountTable = std::array<std::array<PatternValue, kBoardSize>, kBoardSize>;

// Each colour's stones along every line of the board, one bit per cell from the line's start
// (patterns/lines.h numbers the lines): [direction][line number].
using LineMasks = std::array<std::array<std::uint16_t, kLinesPerDirection>, kDirections>;
using ThreatMaskTable = std::array<std::array<ThreatMask, kBoardSize>, kBoardSize>;

// A position the engine reasons about: the board with Black's marks, each colour's line codes,
// threat counts and threat masks, and each colour's stones line by line. Copied by value where the
// search needs a private one.
struct Position {
  Board board;
  CodeTable blackCodes;
  CodeTable whiteCodes;
  CountTable blackCounts;  // both colours' threats, as kThreatCountSlot says
  CountTable whiteCounts;
  LineMasks blackLines;
  LineMasks whiteLines;
  LineMasks threatLines;  // the points whose Black threat count is above 0, line by line
  ThreatMaskTable blackThreatMasks;
  ThreatMaskTable whiteThreatMasks;

  Position() { Clear(); }

  // The new-game contents: an empty board, every line code 1 (base), no threats.
  void Clear();

  CodeTable& Codes(int colour) { return colour == kBlack ? blackCodes : whiteCodes; }
  const CodeTable& Codes(int colour) const { return colour == kBlack ? blackCodes : whiteCodes; }

  // The colour's code at (row, col) in direction dir.
  int Code(int colour, int row, int col, int dir) const {
    return Codes(colour)[kLineSpots[row][col][dir].cell];
  }
  void SetCode(int colour, int row, int col, int dir, int code) {
    Codes(colour)[kLineSpots[row][col][dir].cell] = static_cast<PatternValue>(code);
  }

  const CountTable& Counts(int colour) const {
    return colour == kBlack ? blackCounts : whiteCounts;
  }

  // The colour's four codes at (row, col) and its threat count.
  PatternEntry Entry(int colour, int row, int col) const {
    const CodeTable& codes = Codes(colour);
    const auto& spots = kLineSpots[row][col];
    return {codes[spots[0].cell], codes[spots[1].cell], codes[spots[2].cell], codes[spots[3].cell],
            Counts(colour)[row][col]};
  }

  LineMasks& Lines(int colour) { return colour == kBlack ? blackLines : whiteLines; }
  const LineMasks& Lines(int colour) const { return colour == kBlack ? blackLines : whiteLines; }

  const ThreatMaskTable& ThreatMasks(int colour) const {
    return colour == kBlack ? blackThreatMasks : whiteThreatMasks;
  }
};

}  // namespace zel
