// Points, colours, the board and the pattern tables: the vocabulary every layer shares.
#pragma once

#include <array>
#include <cstdint>

namespace zel {

inline constexpr int kBoardSize = 15;

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

// A point of the board: row 0 is the top line, column 0 the left line.
struct Point {
  int row = -1;
  int col = -1;
  friend constexpr bool operator==(Point, Point) = default;
};

// Off the board: what unwritten move-list entries and "no point" read as.
inline constexpr Point kNoPoint{-1, -1};

constexpr bool OnBoard(int row, int col) {
  return row >= 0 && row < kBoardSize && col >= 0 && col < kBoardSize;
}
constexpr bool OnBoard(Point p) {
  return OnBoard(p.row, p.col);
}

// The four line directions, by their slot in a pattern table entry:
// 0 along a row, 1 along a column, 2 the diagonal (+1, +1), 3 the anti-diagonal (+1, -1).
inline constexpr int kDirections = 4;
inline constexpr std::array<int, kDirections> kRowStep{0, 1, 1, 1};
inline constexpr std::array<int, kDirections> kColStep{1, 0, 1, -1};

// Slot 4 of a pattern table entry: threat counts, the directions whose code is a threat (above
// 6). White's table counts White's threats; Black's table counts both colours' together, so that
// a 0 there says the point is quiet for either colour.
inline constexpr int kThreatCountSlot = 4;

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
// (4,072 bytes with the line and threat masks): the search copies one into every node.
using BoardValue = std::int8_t;
using PatternValue = std::uint8_t;
using Board = std::array<std::array<BoardValue, kBoardSize>, kBoardSize>;
using PatternEntry = std::array<PatternValue, 5>;
using PatternTable = std::array<std::array<PatternEntry, kBoardSize>, kBoardSize>;

// Each colour's stones along every line of the board, one bit per cell from the line's start
// (patterns/lines.h numbers the lines): [direction][line number].
inline constexpr int kLinesPerDirection = 2 * kBoardSize - 1;
using LineMasks = std::array<std::array<std::uint16_t, kLinesPerDirection>, kDirections>;
using ThreatMaskTable = std::array<std::array<ThreatMask, kBoardSize>, kBoardSize>;

// A position the engine reasons about: the board with Black's marks, each colour's line codes,
// threat counts and threat masks, and each colour's stones line by line. Copied by value where the
// search needs a private one.
struct Position {
  Board board;
  PatternTable black;
  PatternTable white;
  LineMasks blackLines;
  LineMasks whiteLines;
  LineMasks threatLines;  // the points whose Black threat count is above 0, line by line
  ThreatMaskTable blackThreatMasks;
  ThreatMaskTable whiteThreatMasks;

  Position() { Clear(); }

  // The new-game contents: an empty board, every line code 1 (base), no threats.
  void Clear();

  LineMasks& Lines(int colour) { return colour == kBlack ? blackLines : whiteLines; }
  const LineMasks& Lines(int colour) const { return colour == kBlack ? blackLines : whiteLines; }

  PatternTable& Table(int colour) { return colour == kBlack ? black : white; }
  const PatternTable& Table(int colour) const { return colour == kBlack ? black : white; }

  const ThreatMaskTable& ThreatMasks(int colour) const {
    return colour == kBlack ? blackThreatMasks : whiteThreatMasks;
  }

  // The number of directions in which the colour's code at an empty point is a threat.
  int Threats(int colour, int row, int col) const {
    const int whiteThreats = white[row][col][kThreatCountSlot];
    return colour == kBlack ? black[row][col][kThreatCountSlot] - whiteThreats : whiteThreats;
  }
};

}  // namespace zel
