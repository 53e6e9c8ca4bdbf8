#include "patterns/threat_inventory.h"

#include <bit>

#include "patterns/near_points.h"

namespace zel {
namespace {

// The reach of the near points around the stone just played.
constexpr int kNearReach = 5;

// Appends an entry to one list when the scan fills it.
void AppendIfFilled(ThreatInventory& inventory, KindSet kinds, int kind, ThreatEntry entry) {
  if ((kinds & KindBit(kind)) != 0) inventory.Append(kind, entry);
}

// Appends an entry for each of the directions, in order, to one list when the scan fills it.
void AppendEach(ThreatInventory& inventory, KindSet kinds, int kind, unsigned dirs, int r, int c) {
  if ((kinds & KindBit(kind)) == 0) return;
  for (; dirs != 0; dirs &= dirs - 1)
    inventory.Append(kind, {r, c, std::countr_zero(dirs)});
}

// Lists the threats of one point, direction by direction within each list.
void ScanPoint(ThreatInventory& inventory, KindSet kinds, const Position& pos, int r, int c) {
  const ThreatMask black = pos.blackThreatMasks[r][c];
  const ThreatMask white = pos.whiteThreatMasks[r][c];
  if ((black | white) == 0) return;

  if ((kinds & kBlackKinds) != 0 && black != 0) {
    // 1. Black fives, even on a marked point.
    AppendEach(inventory, kinds, kBlackFives, Directions(black, kFiveGroup), r, c);

    // 2. Black fours and threes, only on an unmarked empty point. 3. A four-three point is
    // listed as one instead of in the four and three lists; its straight four stays listed.
    if (pos.board[r][c] == kEmpty) {
      const unsigned threes = Directions(black, kThreeGroup);
      const unsigned fours = Directions(black, kFourGroup);
      const unsigned straightFours = Directions(black, kStraightFourGroup);
      if (CountDirections(fours | straightFours) == 1 && CountDirections(threes) == 1) {
        AppendIfFilled(inventory, kinds, kBlackFourThrees, {r, c, 0});
      } else {
        AppendEach(inventory, kinds, kBlackThrees, threes, r, c);
        AppendEach(inventory, kinds, kBlackFours, fours, r, c);
      }
      AppendEach(inventory, kinds, kBlackStraightFours, straightFours, r, c);
    }
  }

  // 4. White, on any point without a stone.
  if ((kinds & kWhiteKinds) == 0 || white == 0) return;
  AppendEach(inventory, kinds, kWhiteFives, Directions(white, kFiveGroup), r, c);
  const unsigned threes = Directions(white, kThreeGroup);
  const unsigned fours = Directions(white, kFourGroup);
  const unsigned straightFours = Directions(white, kStraightFourGroup);
  const int fourCount = CountDirections(fours | straightFours);
  const int threeCount = CountDirections(threes);
  if (fourCount >= 1 && fourCount + threeCount >= 2) {
    // 5. A four-four or four-three point is listed as one instead of in the four and three lists.
    AppendIfFilled(inventory, kinds, kWhiteFourCombos, {r, c, 0});
  } else if (fourCount == 0 && threeCount >= 2) {
    // 6. So is a double-three point instead of in the three list.
    AppendIfFilled(inventory, kinds, kWhiteDoubleThrees, {r, c, 0});
  } else {
    AppendEach(inventory, kinds, kWhiteThrees, threes, r, c);
    AppendEach(inventory, kinds, kWhiteFours, fours, r, c);
  }
  AppendEach(inventory, kinds, kWhiteStraightFours, straightFours, r, c);
}

}  // namespace

void ThreatInventory::AppendNewPoints(int kind, std::span<const ThreatEntry> entries) {
  PointSet held;
  for (const ThreatEntry& e : List(kind))
    held.Insert(e.row, e.col);
  ThreatEntry* const list = entries_.data() + kOffset[kind];
  const int capacity = kThreatCapacity[kind];
  int count = count_[kind];
  for (const ThreatEntry& e : entries) {
    if (count == capacity) break;
    // Written either way and kept only when new: whether the list holds a point is as good as
    // random, and a branch on it would be mispredicted half the time.
    list[count] = e;
    count += held.Insert(e.row, e.col) ? 1 : 0;
  }
  count_[kind] = count;
}

void ScanThreats(int depth, ThreatInventory& inventory, const Position& pos, int row, int col,
                 KindSet kinds) {
  inventory.ClearCounts();
  if (depth < 2) {
    for (int r = 0; r < kBoardSize; ++r) {
      for (int c = 0; c < kBoardSize; ++c)
        ScanPoint(inventory, kinds, pos, r, c);
    }
    return;
  }
  ForEachNearPoint(kThreatRayMode, kNearReach, row, col, pos,
                   [&](int r, int c) { ScanPoint(inventory, kinds, pos, r, c); });
}

}  // namespace zel
