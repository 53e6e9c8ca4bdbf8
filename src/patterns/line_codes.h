// Line codes: what a stone of one colour on an empty point would make in one line.
// Ordered by strength; a code above kThreatThreshold is a threat. X = own stone, _ = empty.
#pragma once

namespace zel {

inline constexpr int kBlocked = 0;            // no five can ever pass through the point here
inline constexpr int kBase = 1;               // room for a five, nothing more; also own stones
inline constexpr int kDeadFour = 2;           // X X X _ X whose only five is an overline (Black)
inline constexpr int kSingle = 3;             // _ X _ _ : one own stone in a five-cell window
inline constexpr int kOpenTwo = 4;            // _ _X_ _ : two stones inside an open six
inline constexpr int kClosedThree = 5;        // XX_ in a five-cell window, not an open three
inline constexpr int kOpenThree = 7;          // _XXX_ : one stone from a straight four
inline constexpr int kFour = 8;               // XXXX_ : one stone from a five
inline constexpr int kStraightFour = 9;       // _XXXX_ : two ways to make five
inline constexpr int kFive = 10;              // XXXXX
inline constexpr int kOverline = 11;          // XXXXXX : six or more in a row (Black)
inline constexpr int kDoubleFourInLine = 12;  // X_X_X_X : two fours in one line (Black)

// Codes above this value are threats; 6 itself never occurs.
inline constexpr int kThreatThreshold = 6;

constexpr bool IsThreat(int code) {
  return code > kThreatThreshold;
}
constexpr bool IsFourCode(int code) {
  return code == kFour || code == kStraightFour;
}

}  // namespace zel
