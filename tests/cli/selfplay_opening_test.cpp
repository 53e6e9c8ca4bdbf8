// zel-cli selfplay --opening: one game under each rule, read line by line and checked by a referee
// of its own: the order of the steps, the offers (how many, none two symmetrical), the choice
// among them, the moves from the placed stones on, and a legal game whose result is its first
// five.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "rules/renju_rules.h"
#include "support/positions.h"
#include "support/run_cli.h"

namespace zel {
namespace {

// Symmetry k of the board about its centre: row and column offsets exchanged (k & 4), negated.
Point Map(int k, Point p) {
  int a = p.row - 7, b = p.col - 7;
  if (k & 4) std::swap(a, b);
  return {7 + ((k & 1) ? -a : a), 7 + ((k & 2) ? -b : b)};
}

// Whether two offered points are one under a symmetry that keeps every stone's colour.
bool Symmetrical(const std::vector<Point>& stones, Point a, Point b) {
  for (int k = 1; k < 8; ++k) {
    bool keeps = Map(k, a) == b;
    for (size_t i = 0; i < stones.size() && keeps; ++i) {
      const auto at = std::find(stones.begin(), stones.end(), Map(k, stones[i]));
      keeps = at != stones.end() && (at - stones.begin()) % 2 == static_cast<long>(i % 2);
    }
    if (keeps) return true;
  }
  return false;
}

bool FiveOrMore(const Board& board, Point p) {
  for (const auto& [dr, dc] : {std::pair{0, 1}, {1, 0}, {1, 1}, {1, -1}}) {
    int run = 1;
    for (int s : {-1, 1}) {
      for (Point q{p.row + s * dr, p.col + s * dc};
           OnBoard(q) && board[q.row][q.col] == board[p.row][p.col];
           q = {q.row + s * dr, q.col + s * dc})
        ++run;
    }
    if (run >= 5) return true;
  }
  return false;
}

void CheckGame(const std::string& rule, const std::string& out) {
  struct Line {
    std::string word, rest;
  };
  std::vector<Line> lines;
  std::string words;
  std::istringstream in(out);
  for (Line l; in >> l.word && std::getline(in >> std::ws, l.rest);)
    lines.push_back(l), words += (words.empty() ? "" : " ") + l.word;
  const std::map<std::string, std::string> order{
      {"rif", "game place place place opening swap place offer choose moves result"},
      {"soosorv8",
       "game place place place opening swap place declare swap offer choose moves result"},
      {"taraguchi10",
       "game place swap place swap place opening swap place swap (place swap|offer choose) "
       "moves result"},
  };
  ASSERT_TRUE(std::regex_match(words, std::regex(order.at(rule)))) << out;

  std::vector<Point> placed, offered, moves;
  int declared = 0;
  for (const Line& l : lines) {
    if (l.word == "place") {
      placed.push_back(test::Rif(l.rest).at(0));
    } else if (l.word == "opening") {
      EXPECT_TRUE(std::regex_match(l.rest, std::regex("(1[0-3]|[1-9])[DI]"))) << l.rest;
    } else if (l.word == "declare") {
      declared = std::stoi(l.rest);
      EXPECT_TRUE(declared >= 1 && declared <= 8);
    } else if (l.word == "offer") {
      offered = test::Rif(l.rest);
      const size_t count = rule == "rif" ? 2 : rule == "soosorv8" ? declared : 10;
      EXPECT_EQ(offered.size(), count) << l.rest;
      for (size_t i = 0; i < offered.size(); ++i) {
        for (size_t j = 0; j < i; ++j)
          EXPECT_FALSE(offered[i] == offered[j] || Symmetrical(placed, offered[i], offered[j]))
              << l.rest;
      }
    } else if (l.word == "choose") {
      const Point p = test::Rif(l.rest).at(0);
      EXPECT_NE(std::find(offered.begin(), offered.end(), p), offered.end()) << l.rest;
      placed.push_back(p);
    } else if (l.word == "moves") {
      moves = test::Rif(l.rest);
    }
  }
  ASSERT_EQ(placed.size(), 5U);
  ASSERT_GE(moves.size(), placed.size());
  EXPECT_TRUE(std::equal(placed.begin(), placed.end(), moves.begin()));

  // The game: every move on an empty point, Black's never forbidden, the first five ends it.
  Board board{};
  std::string result = "draw";
  for (size_t i = 0; i < moves.size(); ++i) {
    const Point p = moves[i];
    ASSERT_TRUE(OnBoard(p) && board[p.row][p.col] == 0) << "move " << i + 1;
    const bool black = i % 2 == 0;
    const Verdict verdict = black ? JudgeBlackMove(board, p) : Verdict::kLegal;
    EXPECT_FALSE(IsForbidden(verdict)) << "move " << i + 1;
    board[p.row][p.col] = static_cast<BoardValue>(black ? kBlack : kWhite);
    if (verdict == Verdict::kFive || (!black && FiveOrMore(board, p))) {
      EXPECT_EQ(i + 1, moves.size()) << "the game goes on after a five";
      result = black ? "black" : "white";
    }
  }
  EXPECT_EQ(lines.back().rest, result);
}

TEST(SelfPlayOpening, OneGamePerRuleCheckedStepByStep) {
  for (const std::string rule : {"rif", "soosorv8", "taraguchi10"}) {
    SCOPED_TRACE(rule);
    const test::CliRun run =
        test::RunCli("selfplay 1 --opening " + rule + " --nodes 300 --seed 4", 120);
    EXPECT_EQ(run.status, 0) << run.err;
    CheckGame(rule, run.out);
  }
  // The same seed and node budget play the same game.
  EXPECT_EQ(test::RunCli("selfplay 1 --opening rif --nodes 300 --seed 4").out,
            test::RunCli("selfplay 1 --opening rif --nodes 300 --seed 4").out);
}

}  // namespace
}  // namespace zel
