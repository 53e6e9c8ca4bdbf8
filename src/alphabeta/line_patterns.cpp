#include "alphabeta/line_patterns.h"

#include <algorithm>

namespace zel::ab {
namespace {

constexpr int kBlackIndex = 0;
constexpr Pattern kUnknown = kPatterns;

int CellOf(LineKey key, int offset) {
  return key / kPow3[Slot(offset)] % 3;
}

// The run of own stones through the point, the point's own stone included.
int RunThrough(LineKey key) {
  int run = 1;
  for (int offset = -1; offset >= -kSideCells && CellOf(key, offset) == kOwn; --offset)
    ++run;
  for (int offset = 1; offset <= kSideCells && CellOf(key, offset) == kOwn; ++offset)
    ++run;
  return run;
}

bool IsFive(bool black, int run) {
  return black ? run == 5 : run >= 5;
}

// Whether five cells in a row through the point, within four of it, hold nothing blocked.
bool HasRoom(LineKey key) {
  for (int first = -4; first <= 0; ++first) {
    bool open = true;
    for (int offset = first; offset < first + 5 && open; ++offset)
      open = offset == 0 || CellOf(key, offset) != kBlocked;
    if (open) return true;
  }
  return false;
}

// A key's pattern, from the patterns of the keys with one more own stone within four cells of
// the point: memoised in `table`, which starts out kUnknown.
Pattern Compute(bool black, LineKey key, std::array<Pattern, kLineKeys>& table) {
  Pattern& memo = table[key];
  if (memo != kUnknown) return memo;

  const int run = RunThrough(key);
  if (IsFive(black, run)) return memo = kFive;
  if (run > 5) return memo = kOverline;

  // The points that make a five with the point's stone.
  int fives = 0;
  int firstFive = 0;
  int lastFive = 0;
  for (int offset = -4; offset <= 4; ++offset) {
    if (offset == 0 || CellOf(key, offset) != kOpen) continue;
    const LineKey more = static_cast<LineKey>(key + kPow3[Slot(offset)]);
    if (!IsFive(black, RunThrough(more))) continue;
    if (fives++ == 0) firstFive = offset;
    lastFive = offset;
  }
  if (fives >= 2) {
    // Black's straight four is four stones between its two five points; any other pair of five
    // points is two fours in one line.
    const bool straight = fives == 2 && lastFive - firstFive == 5;
    return memo = !black || straight ? kOpenFour : kDoubleFour;
  }
  if (fives == 1) return memo = kFour;

  Pattern best = kDead;
  for (int offset = -4; offset <= 4; ++offset) {
    if (offset == 0 || CellOf(key, offset) != kOpen) continue;
    const LineKey more = static_cast<LineKey>(key + kPow3[Slot(offset)]);
    Pattern reached = kDead;
    switch (Compute(black, more, table)) {
      case kOpenFour:
        reached = kOpenThree;
        break;
      case kFour:
        reached = kThree;
        break;
      case kOpenThree:
        reached = kOpenTwo;
        break;
      case kThree:
        reached = kTwo;
        break;
      case kOpenTwo:
      case kTwo:
        reached = kOne;
        break;
      default:
        break;
    }
    best = std::max(best, reached);
  }
  if (best == kDead && HasRoom(key)) best = kOne;
  return memo = best;
}

Threat Classify(bool black, const std::array<Pattern, 4>& lines) {
  int fours = 0, openFours = 0, openThrees = 0, closedThrees = 0, openTwos = 0;
  bool five = false, overline = false, doubleFourInLine = false;
  for (const Pattern p : lines) {
    five = five || p == kFive;
    overline = overline || p == kOverline;
    doubleFourInLine = doubleFourInLine || p == kDoubleFour;
    fours += p == kFour;
    openFours += p == kOpenFour;
    openThrees += p == kOpenThree;
    closedThrees += p == kThree;
    openTwos += p == kOpenTwo;
  }
  if (five) return Threat::kFive;
  if (black && (overline || doubleFourInLine || fours + openFours >= 2)) return Threat::kForbidden;
  if (black && openThrees >= 2) return Threat::kDoubleThree;
  if (openFours > 0 || fours >= 2) return Threat::kFlexFour;
  if (fours > 0) return openThrees > 0 ? Threat::kFourThree : Threat::kFour;
  if (openThrees >= 2) return Threat::kDoubleThree;
  if (openThrees > 0) return Threat::kThree;
  if (closedThrees > 0) return Threat::kClosedThree;
  if (openTwos >= 2) return Threat::kDoubleTwo;
  if (openTwos > 0) return Threat::kTwo;
  return Threat::kNone;
}

PatternTables Build() {
  PatternTables tables;
  for (const int index : {0, 1}) {
    const bool black = index == kBlackIndex;
    auto& line = tables.line[index];
    line.fill(kUnknown);
    for (int key = 0; key < kLineKeys; ++key)
      Compute(black, static_cast<LineKey>(key), line);
    for (int packed = 0; packed < 1 << 16; ++packed) {
      std::array<Pattern, 4> lines{};
      bool valid = true;
      for (int d = 0; d < 4; ++d) {
        const int p = packed >> (4 * d) & 0xf;
        valid = valid && p < kPatterns;
        lines[d] = static_cast<Pattern>(valid ? p : 0);
      }
      if (!valid) continue;
      PointClass& point = tables.point[index][packed];
      point.threat = Classify(black, lines);
      if (point.threat == Threat::kFive) {
        point.sets = kInFives;
      } else if (point.threat != Threat::kForbidden) {
        for (const Pattern p : lines) {
          if (p == kFour || p == kOpenFour) point.sets |= kInFours;
          if (p == kOpenThree) point.sets |= kInThrees;
        }
      }
    }
  }
  return tables;
}

}  // namespace

const PatternTables& Tables() {
  static const PatternTables tables = Build();
  return tables;
}

Pattern LinePattern(int colour, LineKey key) {
  return Tables().line[colour - 1][key];
}

Threat PointThreat(int colour, const std::array<Pattern, 4>& lines) {
  return Tables().point[colour - 1][PointIndex(lines)].threat;
}

}  // namespace zel::ab
