#include "threats/carry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patterns/line_codes.h"
#include "patterns/update.h"

namespace zel {
namespace {

Position Stones(const std::vector<Point>& black, const std::vector<Point>& white) {
  Position pos;
  for (Point p : black)
    UpdatePatterns(pos, p.row, p.col, kBlack);
  for (Point p : white)
    UpdatePatterns(pos, p.row, p.col, kWhite);
  return pos;
}

ThreatInventory Scan(const Position& pos) {
  ThreatInventory inventory;
  ScanThreats(1, inventory, pos, 0, 0);
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

TEST(MergeThreatList, LeavesOutHeldPoints) {
  ThreatInventory target;
  target.Append(kBlackFours, {1, 1, 0});
  const std::vector<ThreatEntry> entries{{2, 2, 1}, {1, 1, 2}, {2, 2, 3}, {3, 3, 0}, {2, 3, 2}};
  MergeThreatList(target, kBlackFours, entries);
  EXPECT_EQ(Listing(target, kBlackFours), "1,1,0 2,2,1 3,3,0 2,3,2");
  // Other lists are untouched.
  EXPECT_EQ(target.Count(kBlackThrees), 0);
  EXPECT_EQ(target.Count(kWhiteFours), 0);
}

TEST(MergeThreatList, StopsAtTheCapacity) {
  std::vector<ThreatEntry> entries;
  for (int i = 0; i < kThreatCapacity[kWhiteFives] + 3; ++i) {
    entries.push_back({i / kBoardSize, i % kBoardSize, 0});
  }
  ThreatInventory target;
  MergeThreatList(target, kWhiteFives, entries);
  ASSERT_EQ(target.Count(kWhiteFives), kThreatCapacity[kWhiteFives]);
  EXPECT_EQ(target.At(kWhiteFives, kThreatCapacity[kWhiteFives] - 1),
            entries[kThreatCapacity[kWhiteFives] - 1]);
  EXPECT_EQ(target.Count(kWhiteStraightFours), 0);
}

TEST(CarryThreatInventory, EmptySourceAddsNothing) {
  const Position pos = Stones({{7, 6}, {7, 7}, {7, 8}}, {{0, 0}});
  ThreatInventory target;
  target.Append(kWhiteThrees, {4, 4, 1});
  CarryThreatInventory(target, ThreatInventory(), pos);
  for (int kind = 0; kind < kThreatKinds; ++kind) {
    EXPECT_EQ(target.Count(kind), kind == kWhiteThrees ? 1 : 0) << kind;
  }
}

TEST(CarryThreatInventory, StoneThatClosesAThree) {
  // Black's open three in row 7; White closes it at (7,5).
  const Position parent = Stones({{7, 6}, {7, 7}, {7, 8}}, {{0, 0}});
  Position child = parent;
  UpdatePatterns(child, 7, 5, kWhite);

  // The child's own scan around White's stone finds nothing; the parent's straight fours and
  // fours come back as what they are now: (7,5) is taken, (7,4) is quiet, (7,9) and (7,10) are
  // fours.
  ThreatInventory target;
  ScanThreats(2, target, child, 7, 5);
  for (int kind = 0; kind < kThreatKinds; ++kind)
    ASSERT_EQ(target.Count(kind), 0) << kind;
  CarryThreatInventory(target, Scan(parent), child);
  EXPECT_EQ(Listing(target, kBlackFours), "7,9,0 7,10,0");
  for (int kind = 0; kind < kThreatKinds; ++kind) {
    EXPECT_EQ(target.Count(kind), kind == kBlackFours ? 2 : 0) << kind;
  }
}

TEST(CarryThreatInventory, BlackFourThreeAndItsMark) {
  // (7,7): a four in the row closed by White at (7,3), a three in the column, and a lone stone
  // at (10,10) on the diagonal.
  const Position parent = Stones({{7, 4}, {7, 5}, {7, 6}, {9, 7}, {10, 7}, {10, 10}}, {{7, 3}});
  const ThreatInventory source = Scan(parent);
  ASSERT_EQ(Listed(source, kBlackFourThrees, {7, 7}).size(), 1U);

  // Carried unchanged, the point is classified afresh and stays in the four and three lists.
  ThreatInventory same;
  CarryThreatInventory(same, source, parent);
  EXPECT_EQ(Listed(same, kBlackFourThrees, {7, 7}).size(), 1U);
  EXPECT_EQ(Listed(same, kBlackFours, {7, 7}), Dirs{0});
  EXPECT_EQ(Listed(same, kBlackThrees, {7, 7}), Dirs{1});

  // A stone at (9,9) adds a second three: the point is forbidden now and gives nothing.
  Position child = parent;
  UpdatePatterns(child, 9, 9, kBlack);
  ASSERT_EQ(child.board[7][7], kForbiddenMark);
  ThreatInventory target;
  CarryThreatInventory(target, source, child);
  for (int kind = kBlackFives; kind <= kBlackThrees; ++kind) {
    EXPECT_EQ(Listed(target, kind, {7, 7}), Dirs{}) << kind;
  }
  EXPECT_EQ(Listed(target, kBlackFours, {7, 8}), Dirs{0});
}

TEST(CarryThreatInventory, WhitePointOnABlackMark) {
  // (7,7) is Black's double three and White's four.
  const Position pos =
      Stones({{9, 7}, {10, 7}, {9, 9}, {10, 10}, {7, 3}}, {{7, 4}, {7, 5}, {7, 6}});
  ASSERT_EQ(pos.board[7][7], kForbiddenMark);
  ThreatInventory target;
  CarryThreatInventory(target, Scan(pos), pos);
  EXPECT_EQ(Listed(target, kWhiteFours, {7, 7}), Dirs{0});
  EXPECT_EQ(Listed(target, kBlackThrees, {7, 7}), Dirs{});
}

TEST(CarryThreatInventory, WhiteCombinations) {
  // (7,7): White threes in the row and the column and a four on the diagonal.
  const Position pos =
      Stones({{11, 11}}, {{7, 5}, {7, 6}, {9, 7}, {10, 7}, {8, 8}, {9, 9}, {10, 10}});
  const ThreatInventory source = Scan(pos);
  ASSERT_EQ(Listed(source, kWhiteFourCombos, {7, 7}).size(), 1U);
  ASSERT_EQ(Listed(source, kWhiteDoubleThrees, {7, 7}).size(), 0U);

  // A four-combination and a double three at once; of the two threes only the row's is added.
  ThreatInventory target;
  CarryThreatInventory(target, source, pos);
  EXPECT_EQ(Listed(target, kWhiteFourCombos, {7, 7}).size(), 1U);
  EXPECT_EQ(Listed(target, kWhiteDoubleThrees, {7, 7}).size(), 1U);
  EXPECT_EQ(Listed(target, kWhiteFours, {7, 7}), Dirs{2});
  EXPECT_EQ(Listed(target, kWhiteThrees, {7, 7}), Dirs{0});

  // A target that already holds the point keeps its own entry.
  ThreatInventory held;
  held.Append(kWhiteThrees, {7, 7, 3});
  CarryThreatInventory(held, source, pos);
  EXPECT_EQ(Listed(held, kWhiteThrees, {7, 7}), Dirs{3});
  EXPECT_EQ(held.At(kWhiteThrees, 0), (ThreatEntry{7, 7, 3}));

  // A four-four: one four entry, along the first direction.
  const Position fourFour =
      Stones({{11, 7}, {11, 11}}, {{8, 7}, {9, 7}, {10, 7}, {8, 8}, {9, 9}, {10, 10}});
  ThreatInventory fours;
  CarryThreatInventory(fours, Scan(fourFour), fourFour);
  EXPECT_EQ(Listed(fours, kWhiteFourCombos, {7, 7}).size(), 1U);
  EXPECT_EQ(Listed(fours, kWhiteFours, {7, 7}), Dirs{1});
  EXPECT_EQ(Listed(fours, kWhiteDoubleThrees, {7, 7}).size(), 0U);
}

}  // namespace
}  // namespace zel
