#include "patterns/threat_inventory.h"

#include "patterns/line_codes.h"
#include "patterns/near_points.h"

namespace zel {
namespace {

// The reach of the near points around the stone just played.
constexpr int kNearReach = 5;

// Appends an entry to one list when the scan fills it, and counts it when the list had room, so
// that taking the point back out drops only what went in.
void AppendCounted(ThreatInventory& inventory, KindSet kinds, int kind, ThreatEntry entry,
                   int& appended) {
  if ((kinds & KindBit(kind)) != 0 && inventory.Append(kind, entry)) ++appended;
}

void AppendIfFilled(ThreatInventory& inventory, KindSet kinds, int kind, ThreatEntry entry) {
  if ((kinds & KindBit(kind)) != 0) inventory.Append(kind, entry);
}

void DropLast(ThreatInventory& inventory, int kind, int entries) {
  for (int i = 0; i < entries; ++i)
    inventory.DropLast(kind);
}

// A point's open threes, fours and straight fours of one colour, appended direction by
// direction; the counts of what was found and of what went into the (bounded) lists.
struct Tally {
  int fours = 0;
  int threes = 0;
  int foursListed = 0;
  int threesListed = 0;
};

Tally ListFoursAndThrees(ThreatInventory& inventory, KindSet kinds, const PatternEntry& codes,
                         int r, int c, int threesKind, int foursKind, int straightFoursKind) {
  Tally tally;
  for (int d = 0; d < kDirections; ++d) {
    if (codes[d] == kOpenThree) {
      AppendCounted(inventory, kinds, threesKind, {r, c, d}, tally.threesListed);
      ++tally.threes;
    } else if (codes[d] == kFour) {
      AppendCounted(inventory, kinds, foursKind, {r, c, d}, tally.foursListed);
      ++tally.fours;
    } else if (codes[d] == kStraightFour) {
      AppendIfFilled(inventory, kinds, straightFoursKind, {r, c, d});
      ++tally.fours;
    }
  }
  return tally;
}

// Lists the threats of one point. The point's entries are the last of every list when a
// combination takes them back out, since no point is examined twice in one scan.
void ScanPoint(ThreatInventory& inventory, KindSet kinds, const Position& pos, int r, int c) {
  // The Black threat count adds both colours' threats: a point without any is quiet.
  if (pos.black[r][c][kThreatCountSlot] == 0) return;

  const bool blackThreats = (kinds & kBlackKinds) != 0 && pos.Threats(kBlack, r, c) > 0;
  if (blackThreats) {
    // 1. Black fives, even on a marked point.
    const PatternEntry& black = pos.black[r][c];
    for (int d = 0; d < kDirections; ++d) {
      if (black[d] == kFive) AppendIfFilled(inventory, kinds, kBlackFives, {r, c, d});
    }

    // 2. Black fours and threes, only on an unmarked empty point.
    if (pos.board[r][c] == kEmpty) {
      const Tally t = ListFoursAndThrees(inventory, kinds, black, r, c, kBlackThrees, kBlackFours,
                                         kBlackStraightFours);
      // 3. A four-three point leaves the four and three lists; its straight four stays listed.
      if (t.fours == 1 && t.threes == 1) {
        AppendIfFilled(inventory, kinds, kBlackFourThrees, {r, c, 0});
        DropLast(inventory, kBlackFours, t.foursListed);
        DropLast(inventory, kBlackThrees, t.threesListed);
      }
    }
  }

  // 4. White, on any point without a stone (a stone's point has no code above 1).
  if ((kinds & kWhiteKinds) == 0 || pos.Threats(kWhite, r, c) == 0) return;
  const PatternEntry& white = pos.white[r][c];
  for (int d = 0; d < kDirections; ++d) {
    if (white[d] == kFive) AppendIfFilled(inventory, kinds, kWhiteFives, {r, c, d});
  }
  const Tally t = ListFoursAndThrees(inventory, kinds, white, r, c, kWhiteThrees, kWhiteFours,
                                     kWhiteStraightFours);
  // 5. A four-four or four-three point leaves the four and three lists.
  if (t.fours >= 1 && t.fours + t.threes >= 2) {
    AppendIfFilled(inventory, kinds, kWhiteFourCombos, {r, c, 0});
    DropLast(inventory, kWhiteFours, t.foursListed);
    DropLast(inventory, kWhiteThrees, t.threesListed);
  } else if (t.fours == 0 && t.threes >= 2) {
    // 6. A double-three point leaves the three list.
    AppendIfFilled(inventory, kinds, kWhiteDoubleThrees, {r, c, 0});
    DropLast(inventory, kWhiteThrees, t.threesListed);
  }
}

}  // namespace

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
