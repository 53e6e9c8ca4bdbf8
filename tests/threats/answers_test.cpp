#include "threats/answers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/positions.h"

namespace zel {
namespace {

using Generator = int (*)(AnswerList&, int, int, int, const Position&);
constexpr Generator kS4 = AnswersToStraightFour;
constexpr Generator k43 = AnswersToFourThree;
constexpr Generator k33 = AnswersToThrees;

// The answer list as "r,c r,c ...", key point first, with the attacker's stones `own` and the
// defender's `other`.
std::string Answers(Generator generator, int colour, const char* own, const char* other,
                    Point key) {
  const Position pos = colour == kBlack ? test::Stones(own, other) : test::Stones(other, own);
  AnswerList list;
  list.fill(kNoPoint);
  list[0] = key;
  const int count = generator(list, key.row, key.col, colour, pos);
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += std::to_string(list[i].row) + "," + std::to_string(list[i].col);
  }
  return text;
}

struct Case {
  const char* name;
  Generator generator;
  const char* own;
  const char* other;
  const char* black;  // answers when Black attacks; nullptr: not tried
  const char* white;  // the same stones with the colours swapped, White attacking
};

const Case kCases[] = {
    // Threes around a straight-four point near the sides of the board. Black's near end is
    // answered when the far end cannot take the straight four; White's never is. Case B with
    // P(-5) off the left edge, case C with P(+5) off the right edge.
    {"row left edge", kS4, "7,1 7,2 7,3", "", "7,4 7,0 7,5", "7,4 7,0"},
    {"row right edge", kS4, "7,11 7,12 7,13", "", "7,10 7,14 7,9", "7,10 7,14"},
    // Only the column of P(-5) = (1, -1) lies off the board; then only the row of (-1, 12).
    {"diagonal left edge", kS4, "3,1 4,2 5,3", "", "6,4 2,0 7,5", "6,4 2,0"},
    {"anti-diagonal top", kS4, "1,10 2,9 3,8", "", "4,7 0,11 5,6", "4,7 0,11"},
    // Case C, P(+5) = (15, -1) off the bottom-left corner.
    {"anti-diagonal corner", kS4, "11,3 12,2 13,1", "", "10,4 14,0 9,5", "10,4 14,0"},
    // The same threes one cell further in, for every side and line: P(-5) or P(+5) is the
    // board's outermost line, on the board and empty, so no near end is answered.
    {"row one in from the left", kS4, "7,2 7,3 7,4", "", "7,5", "7,5"},
    {"row one in from the right", kS4, "7,10 7,11 7,12", "", "7,9", "7,9"},
    {"column one in from the top", kS4, "2,7 3,7 4,7", "", "5,7", "5,7"},
    {"column one in from the bottom", kS4, "10,7 11,7 12,7", "", "9,7", "9,7"},
    {"diagonal one in from the corner", kS4, "2,2 3,3 4,4", "", "5,5", "5,5"},
    {"diagonal one in from the left", kS4, "2,4 3,5 4,6", "", "5,7", "5,7"},
    {"diagonal one in from the bottom", kS4, "10,10 11,11 12,12", "", "9,9", "9,9"},
    {"anti-diagonal one in from the top", kS4, "2,12 3,11 4,10", "", "5,9", "5,9"},
    {"anti-diagonal one in from the corner", kS4, "10,4 11,3 12,2", "", "9,5", "9,5"},
    // Threes against the top and bottom edges: the far end is a four, the near end is answered.
    {"column top edge", kS4, "1,7 2,7 3,7", "", "4,7 0,7 5,7", "4,7 0,7"},
    {"column bottom edge", kS4, "11,7 12,7 13,7", "", "10,7 14,7 9,7", "10,7 14,7"},
    // Inside the board the far end P(-4) reads straight four, not four: nothing but the key.
    // An opponent stone at P(-5) makes P(-4) a four and closes the far side.
    {"open both sides", kS4, "7,5 7,6 7,7", "", "7,8", "7,8"},
    {"opponent at P(-5)", kS4, "7,5 7,6 7,7", "7,3", "7,8 7,4 7,9", "7,8 7,4"},
    // Case A, X X K X and X K X X: both open ends.
    {"case A", kS4, "7,5 7,6 7,8", "", "7,7 7,4 7,9", "7,7 7,4 7,9"},
    {"case A mirrored", kS4, "7,6 7,8 7,9", "", "7,7 7,5 7,10", "7,7 7,5 7,10"},
    // Closed straight fours in the column and the anti-diagonal: the column alone is answered.
    {"first direction", kS4, "8,7 9,7 10,7 8,6 9,5 10,4", "12,7 12,2", nullptr, "7,7 11,7"},
    // (7,0) is marked (double four): the mark and the edge each answer the near end, twice.
    {"marked near end", kS4, "7,1 7,2 7,3 8,0 9,0 10,0", "", "7,4 7,0 7,5 7,5", nullptr},
    // Case A with P(-3) = (7,4) marked: not free for Black; free for White (Black's double three).
    {"marked P(-3)", kS4, "7,5 7,6 7,8 8,4 9,4 10,4", "0,0", "7,7 7,9", nullptr},
    {"Black's mark", kS4, "7,5 7,6 7,8", "8,4 9,4 8,5 9,6", nullptr, "7,7 7,4 7,9"},

    // Threes through (7,7) along the row, one per case of AddThreeAnswers.
    {"A: X K X", k33, "7,6 7,8", "", "7,7 7,5 7,9", "7,7 7,5 7,9"},
    {"B: K . X X", k33, "7,9 7,10", "", "7,7 7,6 7,8 7,11", "7,7 7,6 7,8 7,11"},
    {"B: X X . K", k33, "7,4 7,5", "", "7,7 7,6 7,8 7,3", "7,7 7,6 7,8 7,3"},
    {"C: X K . X", k33, "7,6 7,9", "", "7,7 7,8 7,5 7,10", "7,7 7,8 7,5 7,10"},
    {"C: X X K", k33, "7,5 7,6", "", "7,7 7,8 7,4", "7,7 7,8 7,4"},
    {"C: X . X K", k33, "7,4 7,6", "", "7,7 7,8 7,5 7,3", "7,7 7,8 7,5 7,3"},
    {"D: X . K X", k33, "7,5 7,8", "", "7,7 7,6 7,9 7,4", "7,7 7,6 7,9 7,4"},
    {"D: K X X", k33, "7,8 7,9", "", "7,7 7,6 7,10", "7,7 7,6 7,10"},
    {"D: K X . X", k33, "7,8 7,10", "", "7,7 7,6 7,9 7,11", "7,7 7,6 7,9 7,11"},
    // X K . X in every direction through (7,7): three answers each, directions in order.
    {"four directions", k33, "7,6 7,9 6,7 9,7 6,6 9,9 6,8 9,5", "0,0", nullptr,
     "7,7 7,8 7,5 7,10 8,7 5,7 10,7 8,8 5,5 10,10 8,6 5,9 10,4"},
    // A stray stone taken for the three (X . X K . X) never gives P(+3) or P(-3) off the board.
    {"stray stone right", k33, "7,9 7,11 7,14", "0,0", nullptr, "7,12 7,13 7,10"},
    {"stray stone left", k33, "7,0 7,3 7,5", "14,14", nullptr, "7,2 7,1 7,4"},

    // Partner points on both sides: P(-1) before P(+1), distance 1 before distance 2.
    {"partner P(-1)", k43, "7,3 7,4 7,5 7,9 7,10 7,11", "7,2 7,12", nullptr, "7,7 7,6"},
    {"nearest partner", k43, "7,3 7,4 7,6 7,9 7,10", "7,2", nullptr, "7,7 7,8"},
    // Partners three cells away, after and before the key, the far end closed; then the
    // column's three K . X X.
    {"partner P(+3)", k43, "7,8 7,9 7,11 9,7 10,7", "7,12", "7,7 7,10 6,7 8,7 11,7",
     "7,7 7,10 6,7 8,7 11,7"},
    {"partner P(-3)", k43, "7,3 7,5 7,6 9,7 10,7", "7,2", "7,7 7,4 6,7 8,7 11,7",
     "7,7 7,4 6,7 8,7 11,7"},
    // O K X X X . : the other empty point is four cells away, no partner; then the column's three.
    {"no partner", k43, "7,8 7,9 7,10 9,7 10,7", "7,6", nullptr, "7,7 6,7 8,7 11,7"},
    // O X X X K . : partner (7,8), then the column's three; with the row open, no four at all.
    {"four-three", k43, "7,4 7,5 7,6 9,7 10,7", "7,3", "7,7 7,8 6,7 8,7 11,7", nullptr},
    {"straight four", k43, "7,4 7,5 7,6 9,7 10,7", "", "7,7", nullptr},
    // Closed fours in the column and the diagonal: only the first one's partner.
    {"four-four", k43, "8,7 9,7 10,7 8,8 9,9 10,10", "11,7 11,11", nullptr, "7,7 6,7"},
};

TEST(Answers, EveryShape) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Point key = test::Points(c.black ? c.black : c.white)[0];  // the first answer
    if (c.black) {
      EXPECT_EQ(Answers(c.generator, kBlack, c.own, c.other, key), c.black);
    }
    if (c.white) {
      EXPECT_EQ(Answers(c.generator, kWhite, c.own, c.other, key), c.white);
    }
  }
}

TEST(AddThreeAnswers, SkippedDirectionAndCount) {
  // (7,7): X K X in the row, K . X X in the column.
  const Position pos = test::Stones("7,6 7,8 9,7 10,7");
  AnswerList list;
  list.fill(kNoPoint);
  list[1] = {3, 3};
  // The row's three is skipped; the column's is appended after the two entries there.
  ASSERT_EQ(AddThreeAnswers(list, 7, 7, kBlack, 2, 0, pos), 5);
  EXPECT_EQ(std::vector<Point>(list.begin() + 1, list.begin() + 5),
            test::Points("3,3 6,7 8,7 11,7"));
  // Skipping the column leaves the row.
  ASSERT_EQ(AddThreeAnswers(list, 7, 7, kBlack, 1, 1, pos), 3);
  EXPECT_EQ(std::vector<Point>(list.begin() + 1, list.begin() + 3), test::Points("7,5 7,9"));
}

}  // namespace
}  // namespace zel
