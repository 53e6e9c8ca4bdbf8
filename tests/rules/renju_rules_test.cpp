#include "rules/renju_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/positions.h"

namespace zel {
namespace {

using test::Rif;

// Black's verdict at `expected`'s points ("forbidden", "legal" or a verdict's name), and when the
// case is complete, legal everywhere else; the whole-board judgement agrees at every point.
void Judge(const std::string& id, const Board& board, bool complete,
           const std::vector<std::pair<Point, std::string>>& expected) {
  const VerdictTable table = JudgeBoard(board);
  for (int row = 0; row < kBoardSize; ++row) {
    for (int col = 0; col < kBoardSize; ++col) {
      if (board[row][col] != kEmpty) continue;
      const Verdict verdict = JudgeBlackMove(board, {row, col});
      EXPECT_EQ(table[row][col], verdict) << id << " " << row << "," << col;
      std::string want = complete ? "legal" : "";
      for (const auto& [p, v] : expected)
        want = p == Point{row, col} ? v : want;
      EXPECT_TRUE(want.empty() || want == (IsForbidden(verdict) ? "forbidden" : "legal") ||
                  want == VerdictName(verdict))
          << id << " " << row << "," << col << ": " << VerdictName(verdict);
    }
  }
}

// data/forbidden_cases.txt: CASE, BLACK, WHITE, EXPECT point verdict, COMPLETE 1: all else legal.
TEST(RenjuRules, ThirdPartyCases) {
  std::ifstream in(ZEL_RULES_DATA_DIR "/forbidden_cases.txt");
  std::string line, id;
  Board board{};
  bool complete = false;
  std::vector<std::pair<Point, std::string>> expected;
  int cases = 0;
  const auto judge = [&] {
    if (!id.empty()) Judge(id, board, complete, expected), ++cases;
    board = {}, complete = false, expected.clear();
  };
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string key, point, verdict;
    words >> key >> point >> verdict;
    if (key == "CASE") judge(), id = point;
    if (key == "BLACK" || key == "WHITE") {
      for (const Point p : Rif(line.substr(5)))
        board[p.row][p.col] = key == "BLACK" ? kBlack : kWhite;
    }
    complete = complete || (key == "COMPLETE" && point == "1");
    for (char& ch : verdict)
      ch = ch == '_' ? '-' : static_cast<char>(std::tolower(ch));
    if (key == "EXPECT") expected.emplace_back(Rif(point)[0], verdict);
  }
  judge();
  EXPECT_EQ(cases, 89);
}

// Hand-worked positions: Black's stones, and Black's verdict at one point.
TEST(RenjuRules, HandWorkedPositions) {
  const struct {
    const char* black;
    const char* point;
    Verdict expected;
  } cases[] = {
      {"f14 i14 f13 h13 f12 g12 c11 d11 e11 g11 h11", "f11", Verdict::kOverline},  // and 4-4
      {"h11 h10 h9 d8 e8 f8 g8 h7 h6", "h8", Verdict::kFive},  // and an overline across
      {"g12 g10 c9 d9 e9 f9 g8 g6", "g9", Verdict::kFive},     // and a double four
      // h8 i8 j8 is no three when the stones l9 to o5 make k8 a double four as g8 is.
      {"d11 e10 f9 g9 i8 j8 f7 i7 e6 d5 o11 m10 l9 l7 m6 o5", "h8", Verdict::kLegal},
      {"d11 e10 f9 g9 i8 j8 f7 i7 e6 d5", "h8", Verdict::kDoubleThree},
      // h8's four point i8 is a four-three, legal, as the points k10 and g6 of its anti-diagonal
      // three are double fours, g6 through d6-f6 and g5-g3; without those, i8 is forbidden too.
      {"h13 i12 j11 l10 m10 n10 h9 j9 j8 k8 h7 j7 d6 e6 f6 g5 g4 g3", "h8", Verdict::kDoubleThree},
      {"h13 i12 j11 l10 m10 n10 h9 j9 j8 k8 h7 j7", "h8", Verdict::kLegal},
  };
  for (const auto& c : cases) {
    Board board{};
    for (const Point p : Rif(c.black))
      board[p.row][p.col] = kBlack;
    Judge(c.black, board, false, {{Rif(c.point)[0], std::string(VerdictName(c.expected))}});
  }
}
}  // namespace
}  // namespace zel
