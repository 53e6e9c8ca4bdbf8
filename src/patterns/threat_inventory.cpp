#include "patterns/threat_inventory.h"

#include "patterns/line_codes.h"
#include "patterns/near_points.h"

namespace zel {
namespace {

// The reach of the near points around the stone just played.
constexpr int kNearReach = 5;

// Appends (row, col, dir) to one list and counts it when the list had room, so that taking the
// point back out drops only what went in.
void AppendCounted(ThreatInventory& inventory, int kind, ThreatEntry entry, int& appended) {
  if (inventory.Append(kind, entry)) ++appended;
}

void DropLast(ThreatInventory& inventory, int kind, int entries) {
  for (int i = 0; i < entries; ++i)
    inventory.DropLast(kind);
}

// Lists the threats of one point. The point's entries are the last of every list when a
// combination takes them back out, since no point is examined twice in one scan.
void ScanPoint(ThreatInventory& inventory, const Position& pos, int r, int c) {
  // The Black threat count adds both colours' threats: a point without any is quiet.
  if (pos.black[r][c][kThreatCountSlot] == 0) return;

  // 1. Black fives, even on a marked point.
  const PatternEntry& black = pos.black[r][c];
  for (int d = 0; d < kDirections; ++d) {
    if (black[d] == kFive) inventory.Append(kBlackFives, {r, c, d});
  }

  // 2. Black fours and threes, only on an unmarked empty point.
  if (pos.board[r][c] == kEmpty) {
    int fours = 0;
    int threes = 0;
    int foursListed = 0;
    int threesListed = 0;
    for (int d = 0; d < kDirections; ++d) {
      if (black[d] == kOpenThree) {
        AppendCounted(inventory, kBlackThrees, {r, c, d}, threesListed);
        ++threes;
      } else if (black[d] == kFour) {
        AppendCounted(inventory, kBlackFours, {r, c, d}, foursListed);
        ++fours;
      } else if (black[d] == kStraightFour) {
        inventory.Append(kBlackStraightFours, {r, c, d});
        ++fours;
      }
    }
    // 3. A four-three point leaves the four and three lists; its straight four stays listed.
    if (fours == 1 && threes == 1) {
      inventory.Append(kBlackFourThrees, {r, c, 0});
      DropLast(inventory, kBlackFours, foursListed);
      DropLast(inventory, kBlackThrees, threesListed);
    }
  }

  // 4. White, on any point without a stone (a stone's point has no code above 1).
  const PatternEntry& white = pos.white[r][c];
  int fours = 0;
  int threes = 0;
  int foursListed = 0;
  int threesListed = 0;
  for (int d = 0; d < kDirections; ++d) {
    if (white[d] == kOpenThree) {
      AppendCounted(inventory, kWhiteThrees, {r, c, d}, threesListed);
      ++threes;
    } else if (white[d] == kFour) {
      AppendCounted(inventory, kWhiteFours, {r, c, d}, foursListed);
      ++fours;
    } else if (white[d] == kStraightFour) {
      inventory.Append(kWhiteStraightFours, {r, c, d});
      ++fours;
    } else if (white[d] == kFive) {
      inventory.Append(kWhiteFives, {r, c, d});
    }
  }
  // 5. A four-four or four-three point leaves the four and three lists.
  if (fours >= 1 && fours + threes >= 2) {
    inventory.Append(kWhiteFourCombos, {r, c, 0});
    DropLast(inventory, kWhiteFours, foursListed);
    DropLast(inventory, kWhiteThrees, threesListed);
  } else if (fours == 0 && threes >= 2) {
    // 6. A double-three point leaves the three list.
    inventory.Append(kWhiteDoubleThrees, {r, c, 0});
    DropLast(inventory, kWhiteThrees, threesListed);
  }
}

}  // namespace

void ScanThreats(int depth, ThreatInventory& inventory, const Position& pos, int row, int col) {
  inventory.ClearCounts();
  if (depth < 2) {
    for (int r = 0; r < kBoardSize; ++r) {
      for (int c = 0; c < kBoardSize; ++c)
        ScanPoint(inventory, pos, r, c);
    }
    return;
  }
  const NearPoints near = CollectNearPoints(kRayMode, kNearReach, row, col, pos.board);
  for (const Point p : near.List())
    ScanPoint(inventory, pos, p.row, p.col);
}

}  // namespace zel
