#include "patterns/threat_inventory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patterns/line_codes.h"
#include "patterns/update.h"
#include "support/positions.h"

namespace zel {
namespace {

Position Stones(const std::vector<Point>& black, const std::vector<Point>& white = {}) {
  Position pos;
  for (Point p : black)
    UpdatePatterns(pos, p.row, p.col, kBlack);
  for (Point p : white)
    UpdatePatterns(pos, p.row, p.col, kWhite);
  return pos;
}

ThreatInventory Scan(const Position& pos, int depth = 1, Point around = {0, 0}) {
  ThreatInventory inventory;
  ScanThreats(depth, inventory, pos, around.row, around.col);
  return inventory;
}

// A list as "r,c,d r,c,d ...".
std::string Listing(const ThreatInventory& inventory, int kind) {
  std::string text;
  for (const ThreatEntry& e : inventory.List(kind)) {
    if (!text.empty()) text += ' ';
    text += std::to_string(e.row) + "," + std::to_string(e.col) + "," + std::to_string(e.dir);
  }
  return text;
}

// The directions in which a list holds the point, in list order.
std::vector<int> Listed(const ThreatInventory& inventory, int kind, Point p) {
  std::vector<int> dirs;
  for (const ThreatEntry& e : inventory.List(kind)) {
    if (e.row == p.row && e.col == p.col) dirs.push_back(e.dir);
  }
  return dirs;
}

using Dirs = std::vector<int>;

TEST(ScanThreats, QuietPositionsListNothing) {
  // A scan of a busy position first: every count must go back to 0.
  ThreatInventory inventory = Scan(Stones({{7, 6}, {7, 7}, {7, 8}}));
  ASSERT_EQ(inventory.Count(kBlackStraightFours), 2);
  // Two stones four cells apart make no three.
  for (const Position& pos : {Position(), test::PlayMoves({{7, 7}, {0, 0}, {7, 11}, {14, 14}})}) {
    ScanThreats(1, inventory, pos, 0, 0);
    for (int kind = 0; kind < kThreatKinds; ++kind)
      EXPECT_EQ(inventory.Count(kind), 0) << kind;
  }
}

TEST(ScanThreats, OpenThreeInRowOrder) {
  const Position pos = test::PlayMoves({{7, 7}, {0, 0}, {7, 6}, {0, 14}, {7, 8}});
  const ThreatInventory whole = Scan(pos);
  EXPECT_EQ(Listing(whole, kBlackStraightFours), "7,5,0 7,9,0");
  EXPECT_EQ(Listing(whole, kBlackFours), "7,4,0 7,10,0");
  for (const int kind :
       {kBlackFives, kBlackFourThrees, kBlackThrees, kWhiteFives, kWhiteStraightFours,
        kWhiteFourCombos, kWhiteFours, kWhiteDoubleThrees, kWhiteThrees}) {
    EXPECT_EQ(whole.Count(kind), 0) << kind;
  }

  // Below the root only the near points of the given stone are examined: from (7,6) the
  // rays reach all four threats, from the White stone at (0,0) none.
  const ThreatInventory near = Scan(pos, 2, {7, 6});
  EXPECT_EQ(Listing(near, kBlackStraightFours), "7,5,0 7,9,0");
  EXPECT_EQ(Listing(near, kBlackFours), "7,4,0 7,10,0");
  const ThreatInventory far = Scan(pos, 2, {0, 0});
  for (int kind = 0; kind < kThreatKinds; ++kind)
    EXPECT_EQ(far.Count(kind), 0) << kind;
}

TEST(ScanThreats, BlackFourThree) {
  // (7,7): a four in the row (closed by White at (7,3)) and the column's three K . X X.
  const Position closed = Stones({{7, 4}, {7, 5}, {7, 6}, {9, 7}, {10, 7}}, {{7, 3}});
  ASSERT_EQ(closed.black[7][7][0], kFour);
  ASSERT_EQ(closed.black[7][7][1], kOpenThree);
  const ThreatInventory inventory = Scan(closed);
  ASSERT_EQ(inventory.Count(kBlackFourThrees), 1);
  EXPECT_EQ(Listed(inventory, kBlackFourThrees, {7, 7}).size(), 1U);
  EXPECT_EQ(Listed(inventory, kBlackFours, {7, 7}), Dirs{});
  EXPECT_EQ(Listed(inventory, kBlackThrees, {7, 7}), Dirs{});
  // Only the point's own entries left the lists: a three listed before it (on the diagonal
  // X . X through (7,5) and (9,7)) and the threats listed after it stay.
  EXPECT_EQ(Listed(inventory, kBlackThrees, {6, 4}), Dirs{2});
  EXPECT_EQ(Listed(inventory, kBlackFours, {7, 8}), Dirs{0});
  EXPECT_EQ(Listed(inventory, kBlackThrees, {8, 7}), Dirs{1});

  // With the row open the four is straight: the point also stays a straight four.
  const Position open = Stones({{7, 4}, {7, 5}, {7, 6}, {9, 7}, {10, 7}}, {{0, 0}});
  ASSERT_EQ(open.black[7][7][0], kStraightFour);
  const ThreatInventory straight = Scan(open);
  EXPECT_EQ(Listed(straight, kBlackFourThrees, {7, 7}).size(), 1U);
  EXPECT_EQ(Listed(straight, kBlackStraightFours, {7, 7}), Dirs{0});
  EXPECT_EQ(Listed(straight, kBlackThrees, {7, 7}), Dirs{});
}

TEST(ScanThreats, ForbiddenFiveIsOnlyAFive) {
  // (7,7) completes the row's five and makes threes in the column and the diagonal.
  const Position pos = Stones({{7, 3}, {7, 4}, {7, 5}, {7, 6}, {9, 7}, {10, 7}, {9, 9}, {10, 10}});
  ASSERT_EQ(pos.board[7][7], kForbiddenMark);
  const ThreatInventory inventory = Scan(pos);
  EXPECT_EQ(Listing(inventory, kBlackFives), "7,2,0 7,7,0");
  for (const int kind : {kBlackStraightFours, kBlackFourThrees, kBlackFours, kBlackThrees}) {
    EXPECT_EQ(Listed(inventory, kind, {7, 7}), Dirs{}) << kind;
  }
}

struct WhiteCase {
  const char* name;
  std::vector<Point> white;
  std::vector<Point> black;
  // The entries of (7,7): directions in the per-direction lists, a count in the combination
  // lists.
  Dirs straightFours;
  size_t fourCombos;
  Dirs fours;
  size_t doubleThrees;
  Dirs threes;
};

const WhiteCase kWhiteCases[] = {
    {"four-four",
     {{7, 3}, {7, 4}, {7, 5}, {8, 7}, {9, 7}, {10, 7}},
     {{7, 2}, {11, 7}},
     {},
     1,
     {},
     0,
     {}},
    {"straight four and three",
     {{7, 4}, {7, 5}, {7, 6}, {9, 7}, {10, 7}},
     {{0, 0}},
     {0},
     1,
     {},
     0,
     {}},
    // Threes in the row and column, a four on the diagonal: a combination, not a double three.
    {"three, three and four",
     {{7, 5}, {7, 6}, {9, 7}, {10, 7}, {8, 8}, {9, 9}, {10, 10}},
     {{11, 11}},
     {},
     1,
     {},
     0,
     {}},
    {"double three", {{7, 5}, {7, 6}, {5, 7}, {6, 7}}, {{0, 0}}, {}, 0, {}, 1, {}},
    {"one three", {{7, 5}, {7, 6}}, {{0, 0}}, {}, 0, {}, 0, {0}},
    {"one four", {{7, 4}, {7, 5}, {7, 6}}, {{7, 3}}, {}, 0, {0}, 0, {}},
};

TEST(ScanThreats, WhiteCombinations) {
  for (const WhiteCase& c : kWhiteCases) {
    SCOPED_TRACE(c.name);
    const ThreatInventory inventory = Scan(Stones(c.black, c.white));
    EXPECT_EQ(Listed(inventory, kWhiteStraightFours, {7, 7}), c.straightFours);
    EXPECT_EQ(Listed(inventory, kWhiteFourCombos, {7, 7}).size(), c.fourCombos);
    EXPECT_EQ(Listed(inventory, kWhiteFours, {7, 7}), c.fours);
    EXPECT_EQ(Listed(inventory, kWhiteDoubleThrees, {7, 7}).size(), c.doubleThrees);
    EXPECT_EQ(Listed(inventory, kWhiteThrees, {7, 7}), c.threes);
  }
}

}  // namespace
}  // namespace zel
