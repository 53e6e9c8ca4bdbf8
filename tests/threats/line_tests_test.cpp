#include "threats/line_tests.h"

#include <gtest/gtest.h>

#include "patterns/line_codes.h"
#include "patterns/update.h"

namespace zel {
namespace {

struct GeometryCase {
  int reach;
  Point a;
  Point b;
  int line;   // LineDirection
  bool near;  // IsNear
};

const GeometryCase kGeometryCases[] = {
    {1, {7, 7}, {7, 7}, 1, true},   // the same point: the row test comes first
    {0, {7, 7}, {7, 7}, 0, false},  // nothing is less than 0 apart
    {5, {7, 2}, {7, 7}, 0, false},  // five apart on a row
    {6, {7, 2}, {7, 7}, 1, true},    {5, {3, 4}, {7, 4}, 2, true},  // column, four apart
    {5, {7, 7}, {9, 9}, 3, true},                                   // diagonal
    {5, {9, 9}, {5, 5}, 3, true},    {5, {7, 7}, {9, 5}, 4, true},  // anti-diagonal
    {5, {2, 12}, {7, 7}, 0, false},                                 // anti-diagonal, five apart
    {5, {7, 7}, {9, 8}, 0, true},                                   // a knight's move: on no line
    {4, {7, 7}, {10, 4}, 4, true},   {4, {7, 7}, {11, 7}, 0, false},
    {4, {7, 7}, {10, 11}, 0, false},  // rows near, columns not
};

TEST(LineTests, LineDirectionAndIsNear) {
  for (const GeometryCase& c : kGeometryCases) {
    SCOPED_TRACE(testing::Message() << "reach " << c.reach << " (" << c.a.row << "," << c.a.col
                                    << ") (" << c.b.row << "," << c.b.col << ")");
    EXPECT_EQ(LineDirection(c.reach, c.a.row, c.a.col, c.b.row, c.b.col), c.line);
    EXPECT_EQ(LineDirection(c.reach, c.b.row, c.b.col, c.a.row, c.a.col), c.line);
    EXPECT_EQ(IsNear(c.reach, c.a.row, c.a.col, c.b.row, c.b.col), c.near);
  }
}

TEST(LineTests, CountStrongLines) {
  // (7,7) for Black: an open two in the row (stone at (7,8)), a single in the column (stone at
  // (10,7)), a four on the diagonal and nothing on the anti-diagonal.
  Position pos;
  for (Point p : {Point{7, 8}, Point{10, 7}, Point{8, 8}, Point{9, 9}, Point{10, 10}}) {
    UpdatePatterns(pos, p.row, p.col, kBlack);
  }
  UpdatePatterns(pos, 11, 11, kWhite);
  ASSERT_EQ(pos.black[7][7], (PatternEntry{kOpenTwo, kSingle, kFour, kBase, 1}));
  EXPECT_EQ(CountStrongLines(7, 7, pos.black), 2);
  EXPECT_EQ(CountStrongLines(7, 7, pos.white), 0);
}

}  // namespace
}  // namespace zel
