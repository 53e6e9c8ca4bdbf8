#include "rules/renju_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/positions.h"

namespace zel {
namespace {

using test::Rif;

// The third-party cases: positions with Black's verdict at listed points, in board notation.
struct Expectation {
  Point point;
  std::string verdict;  // FORBIDDEN, DOUBLE_THREE, DOUBLE_FOUR, OVERLINE or LEGAL
};

struct DataCase {
  std::string id;
  Board board{};
  bool complete = false;
  std::vector<Expectation> expectations;
};

std::vector<DataCase> ReadCases() {
  std::vector<DataCase> cases;
  std::ifstream in(ZEL_RULES_DATA_DIR "/forbidden_cases.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string key;
    words >> key;
    std::string rest;
    std::getline(words, rest);
    if (key == "CASE") {
      cases.push_back({});
      cases.back().id = rest.substr(1);
    } else if (cases.empty()) {
      continue;
    } else if (key == "BLACK" || key == "WHITE") {
      for (Point p : Rif(rest))
        cases.back().board[p.row][p.col] = key == "BLACK" ? kBlack : kWhite;
    } else if (key == "COMPLETE") {
      cases.back().complete = rest == " 1";
    } else if (key == "EXPECT") {
      std::istringstream fields(rest);
      std::string point;
      std::string verdict;
      fields >> point >> verdict;
      cases.back().expectations.push_back({Rif(point).at(0), verdict});
    }
  }
  return cases;
}

bool Matches(Verdict verdict, const std::string& expected) {
  if (expected == "FORBIDDEN") return IsForbidden(verdict);
  if (expected == "LEGAL") return !IsForbidden(verdict);
  if (expected == "DOUBLE_THREE") return verdict == Verdict::kDoubleThree;
  if (expected == "DOUBLE_FOUR") return verdict == Verdict::kDoubleFour;
  return expected == "OVERLINE" && verdict == Verdict::kOverline;
}

TEST(RenjuRules, ThirdPartyCases) {
  const std::vector<DataCase> cases = ReadCases();
  ASSERT_EQ(cases.size(), 89u);
  int verdicts = 0;
  for (const DataCase& c : cases) {
    ASSERT_TRUE(c.complete || !c.expectations.empty()) << c.id;
    const VerdictTable table = JudgeBoard(c.board);
    for (const Expectation& e : c.expectations) {
      const Verdict verdict = JudgeBlackMove(c.board, e.point);
      EXPECT_TRUE(Matches(verdict, e.verdict))
          << c.id << " at row " << e.point.row << " col " << e.point.col << ": expected "
          << e.verdict << ", judged " << VerdictName(verdict);
      ++verdicts;
    }
    for (int row = 0; row < kBoardSize; ++row) {
      for (int col = 0; col < kBoardSize; ++col) {
        if (c.board[row][col] != kEmpty) continue;
        const Verdict verdict = table[row][col];
        EXPECT_EQ(verdict, JudgeBlackMove(c.board, {row, col})) << c.id;
        bool listed = false;
        for (const Expectation& e : c.expectations)
          listed = listed || e.point == Point{row, col};
        if (c.complete && !listed) {
          EXPECT_FALSE(IsForbidden(verdict))
              << c.id << ": row " << row << " col " << col << " judged " << VerdictName(verdict);
        }
      }
    }
  }
  EXPECT_EQ(verdicts, 150);
}

// Hand-drawn positions: 'x' Black, 'o' White, '?' the point judged; rows from the top, columns
// from the left, anything not drawn empty.
Board Draw(std::string_view diagram, Point& judged) {
  Board board{};
  int row = 0;
  int col = 0;
  for (char c : diagram) {
    if (c == '\n') {
      row += col > 0 ? 1 : 0;
      col = 0;
      continue;
    }
    if (c == ' ') continue;
    if (c == 'x') board[row][col] = kBlack;
    if (c == 'o') board[row][col] = kWhite;
    if (c == '?') judged = {row, col};
    ++col;
  }
  return board;
}

struct DrawnCase {
  const char* name;
  const char* diagram;
  Verdict expected;
};

// A horizontal three (the point, 7,8 and 7,9) whose straight four points 7,6 and 7,10 are each
// a double four (three fours), and a live diagonal three. The right-hand wing makes 7,10
// forbidden; without it the horizontal three counts.
#define EMPTY_ROWS_0_TO_3 \
  "...............\n"     \
  "...............\n"     \
  "...............\n"     \
  "...............\n"
#define DEAD_THREE_BODY(wing4, wing5, wing6, wing8, wing9, wing10) \
  "...x........." wing4                                            \
  "\n"                                                             \
  "....x......." wing5                                             \
  "..\n"                                                           \
  ".....xx...." wing6                                              \
  "...\n"                                                          \
  ".......?xx.....\n"                                              \
  ".....x..x.." wing8                                              \
  "...\n"                                                          \
  "....x......." wing9                                             \
  "..\n"                                                           \
  "...x........." wing10 "\n"

// The point's row holds the split three 7,7 7,9 7,10 with the single straight four point 7,8,
// and its column a live three. At 7,8 Black has a four, the live diagonal three 6,7 7,8 8,9 and
// the anti-diagonal three 8,7 7,8 6,9, whose points 5,10 and 9,6 are double fours: two levels
// down. So 7,8 is a four-three, legal, and the point a double three. Without the stones that
// make 9,6 a double four (rows 9 to 12), 7,8 is a four-three-three and the point only a three.
#define DEEP_TOP      \
  "...............\n" \
  "...............\n" \
  ".......x.......\n" \
  "........x......\n" \
  ".........x.....\n" \
  "...........xxx.\n" \
  ".......x.x.....\n" \
  ".......?.xx....\n" \
  ".......x.x.....\n"

const DrawnCase kDrawnCases[] = {
    {"overline", "...............\n..xxx?xx.......\n", Verdict::kOverline},
    {"overline beats double four",  // the column and the anti-diagonal are fours
     "...............\n"
     ".....x..x......\n"
     ".....x.x.......\n"
     ".....xx........\n"
     "..xxx?xx.......\n",
     Verdict::kOverline},
    {"double four in two lines",
     "...............\n"
     ".xxx?..........\n"
     "....x..........\n"
     "....x..........\n"
     "....x..........\n",
     Verdict::kDoubleFour},
    {"double four in one line, split", "...............\n...x.x?x.x.....\n", Verdict::kDoubleFour},
    {"double four in one line, long", "...............\n.xxx.?.xxx.....\n", Verdict::kDoubleFour},
    {"four in one line, open", "...............\n..o.xx?x..o....\n", Verdict::kLegal},
    {"five with an overline across",
     "...............\n"
     "...............\n"
     "...............\n"
     "...............\n"
     ".......x.......\n"
     ".......x.......\n"
     ".......x.......\n"
     "...xxxx?.......\n"
     ".......x.......\n"
     ".......x.......\n",
     Verdict::kFive},
    {"five with a double four",  // the row is a five, the column two fours (X_XXX_X)
     "...............\n"
     "...............\n"
     "...............\n"
     "......x........\n"
     "...............\n"
     "......x........\n"
     "..xxxx?........\n"
     "......x........\n"
     "...............\n"
     "......x........\n",
     Verdict::kFive},
    {"double three",
     "...............\n"
     "....x..........\n"
     "...x?x.........\n"
     "....x..........\n",
     Verdict::kDoubleThree},
    {"double three against the edge",  // the column cannot become a straight four
     "....x..........\n"
     "...x?x.........\n"
     "....x..........\n",
     Verdict::kLegal},
    {"three blocked by white",  // the column's straight four would need 5,4, taken by White
     "...............\n"
     "....x..........\n"
     "...x?x.........\n"
     "....x..........\n"
     "....o..........\n",
     Verdict::kLegal},
    {"three with both points forbidden",
     EMPTY_ROWS_0_TO_3 DEAD_THREE_BODY(".x", "x", "x", "x", "x", ".x"), Verdict::kLegal},
    {"three with one point legal",
     EMPTY_ROWS_0_TO_3 DEAD_THREE_BODY("..", ".", ".", ".", ".", ".."), Verdict::kDoubleThree},
    {"recursion two levels deep",
     DEEP_TOP "...xxx.........\n"
              "......x........\n"
              "......x........\n"
              "......x........\n",
     Verdict::kDoubleThree},
    {"recursion two levels deep, second level legal", DEEP_TOP, Verdict::kLegal},
};

TEST(RenjuRules, DrawnPositions) {
  for (const DrawnCase& c : kDrawnCases) {
    Point judged;
    const Board board = Draw(c.diagram, judged);
    ASSERT_TRUE(OnBoard(judged)) << c.name;
    EXPECT_EQ(VerdictName(JudgeBlackMove(board, judged)), VerdictName(c.expected)) << c.name;
    // The whole-board judgement reuses one working board for every point and each recursion.
    const VerdictTable table = JudgeBoard(board);
    for (int row = 0; row < kBoardSize; ++row) {
      for (int col = 0; col < kBoardSize; ++col) {
        if (board[row][col] != kEmpty) continue;
        EXPECT_EQ(table[row][col], JudgeBlackMove(board, {row, col}))
            << c.name << ": row " << row << " col " << col;
      }
    }
  }
}

}  // namespace
}  // namespace zel
