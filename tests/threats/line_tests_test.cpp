#include "threats/line_tests.h"

#include <gtest/gtest.h>

#include "patterns/line_codes.h"
#include "support/positions.h"

namespace zel {
namespace {

TEST(LineTests, LineDirectionAndIsNear) {
  struct Case {
    int reach;
    Point a;
    Point b;
    int line;   // LineDirection, either way round
    bool near;  // IsNear
  };
  const Case cases[] = {
      {1, {7, 7}, {7, 7}, 1, true},     // the same point: the row test comes first
      {0, {7, 7}, {7, 7}, 0, false},    // nothing is less than 0 apart
      {5, {7, 2}, {7, 7}, 0, false},    // row, five apart
      {6, {7, 2}, {7, 7}, 1, true},     // row, five apart with reach 6
      {5, {3, 4}, {7, 4}, 2, true},     // column, four apart
      {4, {7, 7}, {11, 7}, 0, false},   // column, four apart with reach 4
      {5, {7, 7}, {9, 9}, 3, true},     // diagonal
      {4, {3, 3}, {7, 7}, 0, false},    // diagonal, four apart with reach 4
      {5, {7, 7}, {9, 5}, 4, true},     // anti-diagonal
      {5, {2, 12}, {7, 7}, 0, false},   // anti-diagonal, five apart
      {5, {7, 7}, {9, 8}, 0, true},     // a knight's move: on no line
      {4, {7, 7}, {10, 11}, 0, false},  // rows near, columns not
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    EXPECT_EQ(LineDirection(c.reach, c.a.row, c.a.col, c.b.row, c.b.col), c.line);
    EXPECT_EQ(LineDirection(c.reach, c.b.row, c.b.col, c.a.row, c.a.col), c.line);
    EXPECT_EQ(IsNear(c.reach, c.a.row, c.a.col, c.b.row, c.b.col), c.near);
  }
}

TEST(LineTests, CountStrongLines) {
  // (7,7) for Black: an open two in the row (stone at (7,8)), a single in the column (stone at
  // (10,7)), a four on the diagonal and nothing on the anti-diagonal.
  const Position pos = test::Stones("7,8 10,7 8,8 9,9 10,10", "11,11");
  ASSERT_EQ(pos.Entry(kBlack, 7, 7), (PatternEntry{kOpenTwo, kSingle, kFour, kBase, 1}));
  EXPECT_EQ(CountStrongLines(7, 7, pos, kBlack), 2);
  EXPECT_EQ(CountStrongLines(7, 7, pos, kWhite), 0);
}

}  // namespace
}  // namespace zel
