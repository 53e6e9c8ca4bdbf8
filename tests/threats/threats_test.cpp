#include <gtest/gtest.h>

#include <vector>

#include "patterns/line_codes.h"
#include "support/positions.h"
#include "threats/answers.h"
#include "threats/carry.h"
#include "threats/line_tests.h"

namespace zel {
namespace {

using test::Points;
using test::Scan;
using test::Stones;

using Generator = int (*)(AnswerList&, int, int, int, const Position&);
constexpr Generator kS4 = AnswersToStraightFour;
constexpr Generator k43 = AnswersToFourThree;
constexpr Generator k33 = AnswersToThrees;
// The threes' answers after the key, the row's three left out.
constexpr Generator kSkipRow = [](AnswerList& list, int row, int col, int colour,
                                  const Position& pos) {
  return AddThreeAnswers(list, row, col, colour, 1, 0, pos);
};

// The answer list, key point first, with the attacker's stones `own` and the defender's `other`.
std::vector<Point> Answers(Generator generator, int colour, const char* own, const char* other,
                           Point key) {
  const Position pos = colour == kBlack ? Stones(own, other) : Stones(other, own);
  AnswerList list;
  list.fill(kNoPoint);
  list[0] = key;
  return {list.begin(), list.begin() + generator(list, key.row, key.col, colour, pos)};
}

TEST(Answers, EveryShape) {
  const struct {
    const char* name;
    Generator generator;
    const char* own;
    const char* other;
    const char* black;  // the answers when Black attacks, key first; nullptr: not tried
    const char* white;  // the same stones with the colours swapped, White attacking; "=": as Black
  } cases[] = {
      // Straight-four points of threes. Black's near end is answered when the far end cannot
      // take the straight four (P(-5) or P(+5) off the board, White's or marked); White's never.
      {"row left edge", kS4, "7,1 7,2 7,3", "", "7,4 7,0 7,5", "7,4 7,0"},
      {"row right edge", kS4, "7,11 7,12 7,13", "", "7,10 7,14 7,9", "7,10 7,14"},
      {"column top edge", kS4, "1,7 2,7 3,7", "", "4,7 0,7 5,7", "4,7 0,7"},
      {"column bottom edge", kS4, "11,7 12,7 13,7", "", "10,7 14,7 9,7", "10,7 14,7"},
      {"row one in from the left", kS4, "7,2 7,3 7,4", "", "7,5", "="},
      {"column one in from the bottom", kS4, "10,7 11,7 12,7", "", "9,7", "="},
      {"open both sides: P(-4) is no four", kS4, "7,5 7,6 7,7", "", "7,8", "="},
      {"opponent at P(-5)", kS4, "7,5 7,6 7,7", "7,3", "7,8 7,4 7,9", "7,8 7,4"},
      {"X X K X", kS4, "7,5 7,6 7,8", "", "7,7 7,4 7,9", "="},
      {"X K X X", kS4, "7,6 7,8 7,9", "", "7,7 7,5 7,10", "="},
      // Closed straight fours in the column and the anti-diagonal: the column alone is answered.
      {"first direction", kS4, "8,7 9,7 10,7 8,6 9,5 10,4", "12,7 12,2", nullptr, "7,7 11,7"},
      // (7,0) is marked (double four): the mark and the edge each answer the near end.
      {"marked near end", kS4, "7,1 7,2 7,3 8,0 9,0 10,0", "", "7,4 7,0 7,5 7,5", nullptr},
      // P(-3) = (7,4) marked: not free for Black; free for White (it is Black's double three).
      {"marked P(-3)", kS4, "7,5 7,6 7,8 8,4 9,4 10,4", "0,0", "7,7 7,9", nullptr},
      {"Black's mark", kS4, "7,5 7,6 7,8", "8,4 9,4 8,5 9,6", nullptr, "7,7 7,4 7,9"},

      // Threes through (7,7) along the row, every shape.
      {"X K X", k33, "7,6 7,8", "", "7,7 7,5 7,9", "="},
      {"K . X X", k33, "7,9 7,10", "", "7,7 7,6 7,8 7,11", "="},
      {"X X . K", k33, "7,4 7,5", "", "7,7 7,6 7,8 7,3", "="},
      {"X K . X", k33, "7,6 7,9", "", "7,7 7,8 7,5 7,10", "="},
      {"X X K", k33, "7,5 7,6", "", "7,7 7,8 7,4", "="},
      {"X . X K", k33, "7,4 7,6", "", "7,7 7,8 7,5 7,3", "="},
      {"X . K X", k33, "7,5 7,8", "", "7,7 7,6 7,9 7,4", "="},
      {"K X X", k33, "7,8 7,9", "", "7,7 7,6 7,10", "="},
      {"K X . X", k33, "7,8 7,10", "", "7,7 7,6 7,9 7,11", "="},
      // X K . X in every direction: three answers each, directions in order; or the row left out.
      {"four directions", k33, "7,6 7,9 6,7 9,7 6,6 9,9 6,8 9,5", "0,0", nullptr,
       "7,7 7,8 7,5 7,10 8,7 5,7 10,7 8,8 5,5 10,10 8,6 5,9 10,4"},
      {"row skipped", kSkipRow, "7,6 7,9 6,7 9,7", "0,0", nullptr, "7,7 8,7 5,7 10,7"},
      // A stray stone taken for the three (X . X K . X) never gives a point off the board.
      {"stray stone right", k33, "7,9 7,11 7,14", "0,0", nullptr, "7,12 7,13 7,10"},
      {"stray stone left", k33, "7,0 7,3 7,5", "14,14", nullptr, "7,2 7,1 7,4"},

      // The four's partner point, nearest first, P(-k) before P(+k); then the column's three.
      {"partner P(-1)", k43, "7,3 7,4 7,5 7,9 7,10 7,11", "7,2 7,12", nullptr, "7,7 7,6"},
      {"nearest partner", k43, "7,3 7,4 7,6 7,9 7,10", "7,2", nullptr, "7,7 7,8"},
      {"partner P(+3)", k43, "7,8 7,9 7,11 9,7 10,7", "7,12", "7,7 7,10 6,7 8,7 11,7", "="},
      {"partner P(-3)", k43, "7,3 7,5 7,6 9,7 10,7", "7,2", "7,7 7,4 6,7 8,7 11,7", "="},
      {"O K X X X .: no partner", k43, "7,8 7,9 7,10 9,7 10,7", "7,6", nullptr, "7,7 6,7 8,7 11,7"},
      {"four-three", k43, "7,4 7,5 7,6 9,7 10,7", "7,3", "7,7 7,8 6,7 8,7 11,7", nullptr},
      {"straight four, no four", k43, "7,4 7,5 7,6 9,7 10,7", "", "7,7", nullptr},
      // Closed fours in the column and the diagonal: only the first one's partner.
      {"four-four", k43, "8,7 9,7 10,7 8,8 9,9 10,10", "11,7 11,11", nullptr, "7,7 6,7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const char* white = c.white != nullptr && c.white == std::string("=") ? c.black : c.white;
    const Point key = Points(c.black != nullptr ? c.black : white)[0];
    if (c.black != nullptr) {
      EXPECT_EQ(Answers(c.generator, kBlack, c.own, c.other, key), Points(c.black));
    }
    if (white != nullptr) {
      EXPECT_EQ(Answers(c.generator, kWhite, c.own, c.other, key), Points(white));
    }
  }
}

TEST(CarryThreatInventory, ClassifiesEachPointAfresh) {
  // Parent (Black's stones, White's), the child's further stones, a point and its entries once
  // carried: each list takes its first direction; a combination point stays in the others.
  const char* const cases[][6] = {
      // A four in the row (closed at (7,3)), a three in the column, a lone stone on the diagonal.
      {"7,4 7,5 7,6 9,7 10,7 10,10", "7,3", "", "", "7,7", "b43 b4/0 b3/1"},
      // A stone at (9,9), a second three: (7,7) is forbidden now, gives nothing.
      {"7,4 7,5 7,6 9,7 10,7 10,10", "7,3", "9,9", "", "7,7", ""},
      {"7,4 7,5 7,6 9,7 10,7 10,10", "7,3", "9,9", "", "7,8", "b4/0"},
      // Black's double three, marked, and White's four.
      {"9,7 10,7 9,9 10,10 7,3", "7,4 7,5 7,6", "", "", "7,7", "w4/0"},
      // White threes in the row and column, a four on the diagonal: four-combination and 33.
      {"11,11", "7,5 7,6 9,7 10,7 8,8 9,9 10,10", "", "", "7,7", "wC4 w4/2 w33 w3/0"},
      {"11,7 11,11", "8,7 9,7 10,7 8,8 9,9 10,10", "", "", "7,7", "wC4 w4/1"},  // four-four
      // White closes Black's open three at (7,5): (7,4) is quiet now, (7,9) a four.
      {"7,6 7,7 7,8", "0,0", "", "7,5", "7,4", ""},
      {"7,6 7,7 7,8", "0,0", "", "7,5", "7,9", "b4/0"},
  };
  for (const auto& [black, white, moreBlack, moreWhite, point, where] : cases) {
    const Position child =
        Stones(std::string(black) + " " + moreBlack, std::string(white) + " " + moreWhite);
    ThreatInventory target;
    CarryThreatInventory(target, Scan(Stones(black, white)), child);
    EXPECT_EQ(test::Where(target, Points(point)[0]), where)
        << black << " / " << white << " + " << moreBlack << " / " << moreWhite;
  }
}

TEST(CarryThreatInventory, MergesIntoHeldLists) {
  // Black's open three in row 7: straight fours at (7,5) and (7,9), fours at (7,4) and (7,10).
  const Position pos = Stones("7,6 7,7 7,8", "0,0");
  // Into empty lists the carried entries go whole, in the source's order.
  ThreatInventory empty;
  CarryThreatInventory(empty, Scan(pos), pos);
  EXPECT_EQ(test::Listing(empty, kBlackStraightFours), "7,5,0 7,9,0");
  EXPECT_EQ(test::Counts(empty), "0 2 0 2 0 0 0 0 0 0 0");
  // A list that holds entries keeps them and takes only new points, while there is room.
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
}

TEST(LineTests, LineDirectionAndIsNear) {
  const struct {
    int reach;
    Point a;
    Point b;
    int line;   // LineDirection, either way round
    bool near;  // IsNear
  } cases[] = {
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
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    EXPECT_EQ(LineDirection(c.reach, c.a.row, c.a.col, c.b.row, c.b.col), c.line);
    EXPECT_EQ(LineDirection(c.reach, c.b.row, c.b.col, c.a.row, c.a.col), c.line);
    EXPECT_EQ(IsNear(c.reach, c.a.row, c.a.col, c.b.row, c.b.col), c.near);
  }
}

TEST(LineTests, CountStrongLines) {
  // (7,7): Black's open two, single, four and nothing, direction by direction; White's nothing.
  const Position pos = Stones("7,8 10,7 8,8 9,9 10,10", "11,11");
  ASSERT_EQ(pos.Entry(kBlack, 7, 7), (PatternEntry{kOpenTwo, kSingle, kFour, kBase, 1}));
  EXPECT_EQ(CountStrongLines(7, 7, pos, kBlack), 2);
  EXPECT_EQ(CountStrongLines(7, 7, pos, kWhite), 0);
}

}  // namespace
}  // namespace zel
