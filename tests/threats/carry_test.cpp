#include "threats/carry.h"

#include <gtest/gtest.h>

#include "patterns/line_codes.h"
#include "support/positions.h"

namespace zel {
namespace {

using test::Counts;
using test::Scan;
using test::Stones;
using test::Where;

TEST(CarryThreatInventory, LeavesOutHeldPointsAndStopsWhenFull) {
  // Black's open three in row 7: straight fours at (7,5) and (7,9), fours at (7,4) and (7,10).
  const Position pos = Stones("7,6 7,7 7,8", "0,0");
  ThreatInventory target;
  target.Append(kBlackFours, {1, 1, 0});
  target.Append(kBlackFours, {7, 10, 3});
  const int full = kThreatCapacity[kBlackStraightFours];
  for (int i = 0; i < full - 1; ++i)
    target.Append(kBlackStraightFours, {i / kBoardSize, i % kBoardSize, 0});
  CarryThreatInventory(target, Scan(pos), pos);
  EXPECT_EQ(test::Listing(target, kBlackFours), "1,1,0 7,10,3 7,4,0");
  ASSERT_EQ(target.Count(kBlackStraightFours), full);
  EXPECT_EQ(target.At(kBlackStraightFours, full - 1), (ThreatEntry{7, 5, 0}));
  // Into an empty list the carried entries go whole, in the source's order.
  ThreatInventory empty;
  CarryThreatInventory(empty, Scan(pos), pos);
  EXPECT_EQ(test::Listing(empty, kBlackStraightFours), "7,5,0 7,9,0");
  EXPECT_EQ(Counts(empty), "0 2 0 2 0 0 0 0 0 0 0");
}

TEST(CarryThreatInventory, StoneThatClosesAThree) {
  // Black's open three in row 7; White closes it at (7,5). The child's own scan around White's
  // stone finds nothing; the parent's straight fours and fours come back as what they are now:
  // (7,5) is taken, (7,4) is quiet, (7,9) and (7,10) are fours. An empty source adds nothing.
  const Position parent = Stones("7,6 7,7 7,8", "0,0");
  Position child = parent;
  UpdatePatterns(child, 7, 5, kWhite);
  ThreatInventory target = Scan(child, 2, {7, 5});
  CarryThreatInventory(target, ThreatInventory(), child);
  ASSERT_EQ(Counts(target), "0 0 0 0 0 0 0 0 0 0 0");
  CarryThreatInventory(target, Scan(parent), child);
  EXPECT_EQ(test::Listing(target, kBlackFours), "7,9,0 7,10,0");
  EXPECT_EQ(Counts(target), "0 0 0 2 0 0 0 0 0 0 0");
}

TEST(CarryThreatInventory, ClassifiesEachPointAfresh) {
  // The entries of (7,7) when a position's threats are carried into an empty inventory: a
  // combination point stays in the four and three lists, one entry in each.
  struct Case {
    const char* black;
    const char* white;
    const char* where;
  };
  const Case cases[] = {
      // A four in the row (closed at (7,3)), a three in the column, a lone stone on the diagonal.
      {"7,4 7,5 7,6 9,7 10,7 10,10", "7,3", "b43 b4/0 b3/1"},
      // Black's double three, marked, and White's four.
      {"9,7 10,7 9,9 10,10 7,3", "7,4 7,5 7,6", "w4/0"},
      // White threes in the row and the column and a four on the diagonal: a four-combination
      // and a double three at once; of the two threes only the row's is added.
      {"11,11", "7,5 7,6 9,7 10,7 8,8 9,9 10,10", "wC4 w4/2 w33 w3/0"},
      // A four-four: one four entry, along the first direction.
      {"11,7 11,11", "8,7 9,7 10,7 8,8 9,9 10,10", "wC4 w4/1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    const Position pos = Stones(c.black, c.white);
    ThreatInventory target;
    CarryThreatInventory(target, Scan(pos), pos);
    EXPECT_EQ(Where(target, {7, 7}), c.where);
  }
}

TEST(CarryThreatInventory, MarkedPointAndHeldPoint) {
  // The first case above with a stone at (9,9), a second three: (7,7) is forbidden now and
  // gives nothing; (7,8) is still a four.
  const Position parent = Stones("7,4 7,5 7,6 9,7 10,7 10,10", "7,3");
  Position child = parent;
  UpdatePatterns(child, 9, 9, kBlack);
  ASSERT_EQ(child.board[7][7], kForbiddenMark);
  ThreatInventory target;
  CarryThreatInventory(target, Scan(parent), child);
  EXPECT_EQ(Where(target, {7, 7}), "");
  EXPECT_EQ(Where(target, {7, 8}), "b4/0");
  // A target that already holds a point keeps its own entry.
  const Position pos = Stones("11,11", "7,5 7,6 9,7 10,7 8,8 9,9 10,10");
  ThreatInventory held;
  held.Append(kWhiteThrees, {7, 7, 3});
  CarryThreatInventory(held, Scan(pos), pos);
  EXPECT_EQ(Where(held, {7, 7}), "wC4 w4/2 w33 w3/3");
}

}  // namespace
}  // namespace zel
