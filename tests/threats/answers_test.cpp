#include "threats/answers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patterns/board.h"
#include "patterns/line_codes.h"
#include "patterns/update.h"

namespace zel {
namespace {

using Generator = int (*)(AnswerList&, int, int, int, const Position&);

// The attacker's stones and the defender's stones, placed in that order.
Position Stones(int attacker, const std::vector<Point>& own, const std::vector<Point>& other = {}) {
  Position pos;
  for (Point p : own)
    UpdatePatterns(pos, p.row, p.col, attacker);
  for (Point p : other)
    UpdatePatterns(pos, p.row, p.col, Opponent(attacker));
  return pos;
}

bool HasCode(const PatternEntry& entry, int code) {
  for (int d = 0; d < kDirections; ++d) {
    if (entry[d] == code) return true;
  }
  return false;
}

// The answer list as "r,c r,c ...", key point first.
std::string Answers(Generator generator, const Position& pos, Point key, int colour) {
  AnswerList list;
  list.fill(kNoPoint);
  list[0] = key;
  const int count = generator(list, key.row, key.col, colour, pos);
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += std::to_string(list[i].row);
    text += ',';
    text += std::to_string(list[i].col);
  }
  return text;
}

struct ShapeCase {
  const char* name;
  std::vector<Point> own;
  std::vector<Point> other;
  Point key;
  const char* black;  // answers when the stones are Black's and Black attacks
  const char* white;  // the same stones with the colours swapped, White attacking
};

// Threes of the attacker around a straight-four point, near every side of the board and along
// both diagonals. Black's near end is answered when the far end cannot take the straight four;
// White's never is.
const ShapeCase kStraightFourCases[] = {
    // Case B, P(-5) off the left edge.
    {"row left edge", {{7, 1}, {7, 2}, {7, 3}}, {}, {7, 4}, "7,4 7,0 7,5", "7,4 7,0"},
    // Case C, P(+5) off the right edge.
    {"row right edge", {{7, 11}, {7, 12}, {7, 13}}, {}, {7, 10}, "7,10 7,14 7,9", "7,10 7,14"},
    {"column top edge", {{1, 7}, {2, 7}, {3, 7}}, {}, {4, 7}, "4,7 0,7 5,7", "4,7 0,7"},
    {"diagonal corner", {{1, 1}, {2, 2}, {3, 3}}, {}, {4, 4}, "4,4 0,0 5,5", "4,4 0,0"},
    // Only the column of P(-5) = (1, -1) lies off the board.
    {"diagonal left edge", {{3, 1}, {4, 2}, {5, 3}}, {}, {6, 4}, "6,4 2,0 7,5", "6,4 2,0"},
    {"anti-diagonal corner",
     {{1, 13}, {2, 12}, {3, 11}},
     {},
     {4, 10},
     "4,10 0,14 5,9",
     "4,10 0,14"},
    // Only the row of P(-5) = (-1, 12) lies off the board.
    {"anti-diagonal top edge", {{1, 10}, {2, 9}, {3, 8}}, {}, {4, 7}, "4,7 0,11 5,6", "4,7 0,11"},
    // Only the column of P(-5) = (1, 15) lies off the board.
    {"anti-diagonal right edge",
     {{3, 13}, {4, 12}, {5, 11}},
     {},
     {6, 10},
     "6,10 2,14 7,9",
     "6,10 2,14"},
    // Case C, P(+5) = (15, -1) off the bottom-left corner.
    {"anti-diagonal bottom corner",
     {{11, 3}, {12, 2}, {13, 1}},
     {},
     {10, 4},
     "10,4 14,0 9,5",
     "10,4 14,0"},
    // Inside the board the far end P(-4) reads straight four, not four: nothing but the key.
    {"open both sides", {{7, 5}, {7, 6}, {7, 7}}, {}, {7, 8}, "7,8", "7,8"},
    // An opponent stone at P(-5) makes P(-4) a four and closes the far side.
    {"opponent at P(-5)", {{7, 5}, {7, 6}, {7, 7}}, {{7, 3}}, {7, 8}, "7,8 7,4 7,9", "7,8 7,4"},
    // Case A, X X K X: both open ends.
    {"case A", {{7, 5}, {7, 6}, {7, 8}}, {}, {7, 7}, "7,7 7,4 7,9", "7,7 7,4 7,9"},
    {"case A mirrored", {{7, 6}, {7, 8}, {7, 9}}, {}, {7, 7}, "7,7 7,5 7,10", "7,7 7,5 7,10"},
};

TEST(AnswersToStraightFour, ShapesNearEveryEdge) {
  for (const ShapeCase& c : kStraightFourCases) {
    SCOPED_TRACE(c.name);
    const Position black = Stones(kBlack, c.own, c.other);
    ASSERT_TRUE(HasCode(black.black[c.key.row][c.key.col], kStraightFour));
    EXPECT_EQ(Answers(AnswersToStraightFour, black, c.key, kBlack), c.black);
    const Position white = Stones(kWhite, c.own, c.other);
    EXPECT_EQ(Answers(AnswersToStraightFour, white, c.key, kWhite), c.white);
  }
}

TEST(AnswersToStraightFour, NoStraightFourAnswersNothing) {
  // A three's four point, coded 8 only.
  const Position pos = Stones(kBlack, {{7, 5}, {7, 6}, {7, 7}}, {{7, 4}});
  ASSERT_EQ(pos.black[7][8][0], kFour);
  AnswerList list;
  list.fill(kNoPoint);
  list[0] = {7, 8};
  EXPECT_EQ(AnswersToStraightFour(list, 7, 8, kBlack, pos), 1);
  EXPECT_EQ(list[1], kNoPoint);
}

TEST(AnswersToStraightFour, FirstDirectionOnly) {
  // Threes below (7,7) in the column and along the anti-diagonal, each closed one cell beyond
  // its far end: straight four in directions 1 and 3, with a four at the far end of each.
  // Direction 1 alone is answered: P(+4) = (11,7), not (11,3).
  const Position pos =
      Stones(kWhite, {{8, 7}, {9, 7}, {10, 7}, {8, 6}, {9, 5}, {10, 4}}, {{12, 7}, {12, 2}});
  ASSERT_EQ(pos.white[7][7][1], kStraightFour);
  ASSERT_EQ(pos.white[7][7][3], kStraightFour);
  EXPECT_EQ(Answers(AnswersToStraightFour, pos, {7, 7}, kWhite), "7,7 11,7");
}

TEST(AnswersToStraightFour, MarksAgainstBlack) {
  // Black's four at (7,0) in the column with a four in the row: a double four, marked. The
  // mark and the edge each answer the near end, and the far end is a four: the list holds a
  // duplicate.
  const Position edge = Stones(kBlack, {{7, 1}, {7, 2}, {7, 3}, {8, 0}, {9, 0}, {10, 0}});
  ASSERT_EQ(edge.board[7][0], kForbiddenMark);
  EXPECT_EQ(Answers(AnswersToStraightFour, edge, {7, 4}, kBlack), "7,4 7,0 7,5 7,5");

  // Case A, X X K X with P(-3) = (7,4) marked: not free for Black.
  const Position black =
      Stones(kBlack, {{7, 5}, {7, 6}, {7, 8}, {8, 4}, {9, 4}, {10, 4}}, {{0, 0}});
  ASSERT_EQ(black.board[7][4], kForbiddenMark);
  EXPECT_EQ(Answers(AnswersToStraightFour, black, {7, 7}, kBlack), "7,7 7,9");

  // The same with White's stones in the row and Black's double three marking (7,4): free for
  // White.
  const Position white = Stones(kWhite, {{7, 5}, {7, 6}, {7, 8}}, {{8, 4}, {9, 4}, {8, 5}, {9, 6}});
  ASSERT_EQ(white.board[7][4], kForbiddenMark);
  EXPECT_EQ(Answers(AnswersToStraightFour, white, {7, 7}, kWhite), "7,7 7,4 7,9");
}

struct ThreeCase {
  const char* name;
  std::vector<Point> own;
  const char* answers;  // for either colour
};

// Threes through (7,7) along the row, one per case of AddThreeAnswers.
const ThreeCase kThreeCases[] = {
    {"A: X K X", {{7, 6}, {7, 8}}, "7,7 7,5 7,9"},
    {"B: K . X X", {{7, 9}, {7, 10}}, "7,7 7,6 7,8 7,11"},
    {"B: X X . K", {{7, 4}, {7, 5}}, "7,7 7,6 7,8 7,3"},
    {"C: X K . X", {{7, 6}, {7, 9}}, "7,7 7,8 7,5 7,10"},
    {"C: X X K", {{7, 5}, {7, 6}}, "7,7 7,8 7,4"},
    {"C: X . X K", {{7, 4}, {7, 6}}, "7,7 7,8 7,5 7,3"},
    {"D: X . K X", {{7, 5}, {7, 8}}, "7,7 7,6 7,9 7,4"},
    {"D: K X X", {{7, 8}, {7, 9}}, "7,7 7,6 7,10"},
    {"D: K X . X", {{7, 8}, {7, 10}}, "7,7 7,6 7,9 7,11"},
};

TEST(AnswersToThrees, EveryCase) {
  for (const ThreeCase& c : kThreeCases) {
    SCOPED_TRACE(c.name);
    for (const int colour : {kBlack, kWhite}) {
      const Position pos = Stones(colour, c.own);
      ASSERT_EQ(pos.Table(colour)[7][7][0], kOpenThree);
      EXPECT_EQ(Answers(AnswersToThrees, pos, {7, 7}, colour), c.answers);
    }
  }
}

TEST(AnswersToThrees, FourDirectionsFillTheList) {
  // X K . X in every direction through (7,7): three answers each.
  const Position pos =
      Stones(kWhite, {{7, 6}, {7, 9}, {6, 7}, {9, 7}, {6, 6}, {9, 9}, {6, 8}, {9, 5}}, {{0, 0}});
  EXPECT_EQ(Answers(AnswersToThrees, pos, {7, 7}, kWhite),
            "7,7 7,8 7,5 7,10 8,7 5,7 10,7 8,8 5,5 10,10 8,6 5,9 10,4");
}

TEST(AddThreeAnswers, StrayStoneNeverGivesAPointOffTheBoard) {
  // White's three . X . X K . with a stray stone at (7,14): the stone at P(+2) is taken for
  // the three, whose answers P(-2) and P(+3) = (7,15) would follow. The point off the board is
  // left out; the others keep their order.
  const Position right = Stones(kWhite, {{7, 9}, {7, 11}, {7, 14}}, {{0, 0}});
  ASSERT_EQ(right.white[7][12][0], kOpenThree);
  EXPECT_EQ(Answers(AnswersToThrees, right, {7, 12}, kWhite), "7,12 7,13 7,10");
  // Mirrored: the stray stone at (7,0) would give P(-3) = (7,-1).
  const Position left = Stones(kWhite, {{7, 0}, {7, 3}, {7, 5}}, {{14, 14}});
  ASSERT_EQ(left.white[7][2][0], kOpenThree);
  EXPECT_EQ(Answers(AnswersToThrees, left, {7, 2}, kWhite), "7,2 7,1 7,4");
}

TEST(AddThreeAnswers, SkippedDirectionAndCount) {
  const Position pos = Stones(kBlack, {{7, 6}, {7, 8}, {9, 7}, {10, 7}});
  AnswerList list;
  list.fill(kNoPoint);
  list[0] = {7, 7};
  list[1] = {3, 3};
  // The row's three is skipped; the column's is appended after the two entries there.
  EXPECT_EQ(AddThreeAnswers(list, 7, 7, kBlack, 2, 0, pos), 5);
  EXPECT_EQ(list[1], (Point{3, 3}));
  EXPECT_EQ(list[2], (Point{6, 7}));
  EXPECT_EQ(list[3], (Point{8, 7}));
  EXPECT_EQ(list[4], (Point{11, 7}));
  // Skipping the column leaves the row: X K X.
  EXPECT_EQ(AddThreeAnswers(list, 7, 7, kBlack, 1, 1, pos), 3);
  EXPECT_EQ(list[1], (Point{7, 5}));
  EXPECT_EQ(list[2], (Point{7, 9}));
}

TEST(AnswersToFourThree, PartnerPointOrder) {
  // Fours at (7,6) and (7,8) on both sides of (7,7): P(-1) comes first.
  const Position both =
      Stones(kWhite, {{7, 3}, {7, 4}, {7, 5}, {7, 9}, {7, 10}, {7, 11}}, {{7, 2}, {7, 12}});
  ASSERT_EQ(both.white[7][6][0], kFour);
  ASSERT_EQ(both.white[7][8][0], kFour);
  EXPECT_EQ(Answers(AnswersToFourThree, both, {7, 7}, kWhite), "7,7 7,6");
  // Fours at (7,5) and (7,8): distance 1 before distance 2.
  const Position near = Stones(kWhite, {{7, 3}, {7, 4}, {7, 6}, {7, 9}, {7, 10}}, {{7, 2}});
  ASSERT_EQ(near.white[7][5][0], kFour);
  ASSERT_EQ(near.white[7][8][0], kFour);
  EXPECT_EQ(Answers(AnswersToFourThree, near, {7, 7}, kWhite), "7,7 7,8");
}

TEST(AnswersToFourThree, FourAndThree) {
  // Four K X X X closed at (7,6): the other empty point (7,11) is four cells away, so there is
  // no partner. The column's three K . X X follows.
  const Position far = Stones(kWhite, {{7, 8}, {7, 9}, {7, 10}, {9, 7}, {10, 7}}, {{7, 6}});
  EXPECT_EQ(Answers(AnswersToFourThree, far, {7, 7}, kWhite), "7,7 6,7 8,7 11,7");
  // Black's four O X X X K . closed at (7,3): partner (7,8), then the column's three.
  const Position black = Stones(kBlack, {{7, 4}, {7, 5}, {7, 6}, {9, 7}, {10, 7}}, {{7, 3}});
  ASSERT_EQ(black.board[7][7], kEmpty);
  EXPECT_EQ(Answers(AnswersToFourThree, black, {7, 7}, kBlack), "7,7 7,8 6,7 8,7 11,7");
  // With the row open the four is straight: no direction coded 8, only the key point.
  const Position straight = Stones(kBlack, {{7, 4}, {7, 5}, {7, 6}, {9, 7}, {10, 7}});
  ASSERT_EQ(straight.black[7][7][0], kStraightFour);
  EXPECT_EQ(Answers(AnswersToFourThree, straight, {7, 7}, kBlack), "7,7");
  // A lone three has no four: only the key point.
  EXPECT_EQ(Answers(AnswersToFourThree, Stones(kBlack, {{9, 7}, {10, 7}}), {7, 7}, kBlack), "7,7");
}

TEST(AnswersToFourThree, WhiteFourFour) {
  // Closed threes below (7,7) in the column and the diagonal: fours in directions 1 and 2.
  // Only the column's partner is listed.
  const Position pos =
      Stones(kWhite, {{8, 7}, {9, 7}, {10, 7}, {8, 8}, {9, 9}, {10, 10}}, {{11, 7}, {11, 11}});
  ASSERT_EQ(pos.white[7][7][1], kFour);
  ASSERT_EQ(pos.white[7][7][2], kFour);
  EXPECT_EQ(Answers(AnswersToFourThree, pos, {7, 7}, kWhite), "7,7 6,7");
}

}  // namespace
}  // namespace zel
