// What one line through an empty point offers a colour that plays there, and what the four lines
// together make of the point.
//
// A point sees five cells on each side along each line. Each cell is empty, the colour's own
// stone, or blocked (the other colour's stone, or off the board), so a point's view of one line
// is a number in base 3 below 3^10: its "line key", which a stone changes by adding or taking away
// one power of 3. A table maps every key to the line's pattern for each colour, worked out once
// by placing the stones: a pattern is what one more stone at the point makes, and what a second
// stone could make of that, up to a five.
#pragma once

#include <array>
#include <cstdint>

namespace zel::ab {

inline constexpr int kSideCells = 5;     // cells a key sees on each side of its point
inline constexpr int kLineKeys = 59049;  // 3^10
using LineKey = std::uint16_t;

// A cell's part of a key: its state times the power of 3 of its slot. Slots 0-4 are the cells
// at offsets -5 to -1, slots 5-9 those at +1 to +5.
enum CellState : int { kOpen = 0, kOwn = 1, kBlocked = 2 };
constexpr int Slot(int offset) {
  return offset < 0 ? offset + kSideCells : offset + kSideCells - 1;
}
inline constexpr std::array<int, 10> kPow3{1, 3, 9, 27, 81, 243, 729, 2187, 6561, 19683};

// One line's pattern for a colour that places a stone on the point, weakest first. "Own" stones
// are marked X, the point itself K, empty cells _. A five is exactly five stones for Black and
// five or more for White.
enum Pattern : std::uint8_t {
  kDead,        // no five can ever pass through K along this line
  kOne,         // a five can still be made here, but nothing nearer
  kTwo,         // one stone from a closed three:      O K X _ _ _
  kOpenTwo,     // one stone from an open three:       _ _ K X _ _
  kThree,       // one stone from a four:              O K X X _ _
  kOpenThree,   // one stone from a straight four:     _ K X X _ _
  kFour,        // one stone from a five:              O K X X X _
  kOpenFour,    // two points make five:               _ K X X X _  (White also X _ K X X _ X)
  kFive,        // K makes five:                       X X K X X
  kOverline,    // Black: K makes six or more          X X K X X X
  kDoubleFour,  // Black: two fours in this one line   X _ K X X _ X  (forbidden)
  kPatterns
};

// What a point is worth to a colour that plays there, by its four lines; strongest last.
// Black's forbidden shapes that the lines prove (an overline, two fours) are kForbidden. Two open
// threes are kDoubleThree for both colours, but for Black only the exact judge can say whether the
// point is forbidden (a three counts only if its straight four can be made): for Black the class
// means "judge it", whatever else the point makes.
enum class Threat : std::uint8_t {
  kNone,
  kForbidden,    // Black: an overline or two fours, with no five
  kTwo,          // an open two
  kDoubleTwo,    // two open twos
  kClosedThree,  // a closed three: a four next move
  kThree,        // an open three
  kDoubleThree,  // two or more open threes
  kFour,         // a four
  kFourThree,    // a four and an open three
  kFlexFour,     // a straight four, or (White) two fours: a five next move cannot be stopped
  kFive,         // a five
};
inline constexpr int kThreatClasses = 11;

// The pattern of a key for Black (colour 1) or White (colour 2).
Pattern LinePattern(int colour, LineKey key);

// The threat class of a point from its four lines' patterns, for Black or White.
Threat PointThreat(int colour, const std::array<Pattern, 4>& lines);

// What a point's four lines make of it: its class, and which of the sets of five points, four
// points and open-three points it belongs to (kInFives, kInFours, kInThrees). A five point is in
// no other set, and Black's kForbidden points are in none.
inline constexpr std::uint8_t kInFives = 1;
inline constexpr std::uint8_t kInFours = 2;
inline constexpr std::uint8_t kInThrees = 4;
struct PointClass {
  Threat threat = Threat::kNone;
  std::uint8_t sets = 0;
};

// The tables the two functions read, built once, on first use.
struct PatternTables {
  std::array<std::array<Pattern, kLineKeys>, 2> line;
  std::array<std::array<PointClass, 1 << 16>, 2> point;  // index: four 4-bit patterns
};
const PatternTables& Tables();

constexpr int PointIndex(const std::array<Pattern, 4>& p) {
  return p[0] | p[1] << 4 | p[2] << 8 | p[3] << 12;
}

}  // namespace zel::ab
