#include "patterns/threat_inventory.h"

#include <gtest/gtest.h>

#include "support/positions.h"

namespace zel {
namespace {

using test::Counts;
using test::Listing;
using test::Scan;
using test::Stones;
using test::Where;

TEST(ScanThreats, OpenThreeInRowOrder) {
  const Position pos = Stones("7,7 7,6 7,8", "0,0 0,14");
  ThreatInventory inventory = Scan(pos);
  EXPECT_EQ(Listing(inventory, kBlackStraightFours), "7,5,0 7,9,0");
  EXPECT_EQ(Listing(inventory, kBlackFours), "7,4,0 7,10,0");
  EXPECT_EQ(Counts(inventory), "0 2 0 2 0 0 0 0 0 0 0");
  // Below the root only the near points of the given stone are examined: from (7,6) the rays
  // reach all four threats, from the White stone at (0,0) none. A rescan starts from zero.
  const ThreatInventory near = Scan(pos, 2, {7, 6});
  EXPECT_EQ(Listing(near, kBlackStraightFours), "7,5,0 7,9,0");
  EXPECT_EQ(Listing(near, kBlackFours), "7,4,0 7,10,0");
  ScanThreats(2, inventory, pos, 0, 0);
  EXPECT_EQ(Counts(inventory), "0 0 0 0 0 0 0 0 0 0 0");
}

TEST(ScanThreats, EntriesOfOnePoint) {
  struct Case {
    const char* black;
    const char* white;
    const char* where;  // the entries of (7,7)
  };
  const Case cases[] = {
      // A four in the row (closed by White at (7,3)) and the column's three K . X X: the point
      // leaves the four and three lists. With the row open it also stays a straight four.
      {"7,4 7,5 7,6 9,7 10,7", "7,3", "b43"},
      {"7,4 7,5 7,6 9,7 10,7", "0,0", "bS4/0 b43"},
      // The row's five on a point marked for the threes in the column and the diagonal.
      {"7,3 7,4 7,5 7,6 9,7 10,7 9,9 10,10", "", "b5/0"},
      {"7,2 11,7", "7,3 7,4 7,5 8,7 9,7 10,7", "wC4"},  // four-four
      {"0,0", "7,4 7,5 7,6 9,7 10,7", "wS4/0 wC4"},     // straight four and three
      // Threes in the row and column, a four on the diagonal: a combination, not a double three.
      {"11,11", "7,5 7,6 9,7 10,7 8,8 9,9 10,10", "wC4"},
      {"0,0", "7,5 7,6 5,7 6,7", "w33"},
      {"0,0", "7,5 7,6", "w3/0"},
      {"7,3", "7,4 7,5 7,6", "w4/0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    EXPECT_EQ(Where(Scan(Stones(c.black, c.white)), {7, 7}), c.where);
  }
}

TEST(ScanThreats, CombinationTakesOutOnlyItsOwnEntries) {
  // The first case above: a three listed before (7,7) (on the diagonal X . X through (7,5) and
  // (9,7)) and the threats listed after it stay.
  const ThreatInventory inventory = Scan(Stones("7,4 7,5 7,6 9,7 10,7", "7,3"));
  EXPECT_EQ(Where(inventory, {6, 4}), "b3/2");
  EXPECT_EQ(Where(inventory, {7, 8}), "b4/0");
  EXPECT_EQ(Where(inventory, {8, 7}), "b3/1");
}

TEST(ScanThreats, FillsOnlyTheListsAsked) {
  // Both colours' fours, threes, combinations and a double three. A list the scan fills is the
  // same whatever else it fills; the others stay empty.
  const Position pos = Stones("7,4 7,5 7,6 9,7 10,7 2,2 2,3",
                              "0,0 0,1 0,2 5,10 6,10 4,11 4,12 12,3 12,4 12,5 9,6 10,6 11,6");
  const ThreatInventory full = Scan(pos);
  for (int kind = 0; kind < kThreatKinds; ++kind) {
    if (kind != kBlackFives && kind != kWhiteFives) {
      ASSERT_GT(full.Count(kind), 0) << kind;
    }
  }
  for (const KindSet kinds : {kBlackKinds, kWhiteKinds, kBlackKinds & ~KindBit(kBlackThrees),
                              KindBit(kBlackFourThrees) | KindBit(kWhiteThrees)}) {
    SCOPED_TRACE(kinds);
    ThreatInventory some;
    ScanThreats(1, some, pos, 0, 0, kinds);
    for (int kind = 0; kind < kThreatKinds; ++kind) {
      const bool filled = (kinds & KindBit(kind)) != 0;
      EXPECT_EQ(Listing(some, kind), filled ? Listing(full, kind) : "") << kind;
    }
  }
}

}  // namespace
}  // namespace zel
