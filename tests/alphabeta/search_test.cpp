#include "alphabeta/search.h"

#include <gtest/gtest.h>

#include <string>

#include "alphabeta/evaluate.h"
#include "rules/renju_rules.h"
#include "support/positions.h"
#include "support/run_cli.h"

namespace zel::ab {
namespace {

constexpr Limits kQuick{.depth = 4};

// Decided positions: a five is made, a four blocked, a block forbidden to Black is a loss, a win
// by fours counts the plies to its five; and Black's move is legal next to its forbidden points
// (h8 would be a double four).
TEST(Searcher, DecidedPositions) {
  const struct {
    const char* name;
    const char* moves;     // Black first
    const char* expected;  // the move; "" where any legal move will do
    int score;             // 1: a win, -1: a loss, 0: neither checked
    int plies = 0;         // of a win: to its five, when checked
  } cases[] = {
      {"five", "h8 a1 i8 a2 j8 a3 k8 o15", "g8", 1, 1},
      {"straight four", "h8 a1 i8 a2 j8 a15", "", 1, 3},
      {"block", "a1 h8 a3 i8 a5 j8 g8 k8 o1 a15", "l8", 0},
      {"forbidden block", "f8 i7 g8 j6 h10 k5 h9 l4 m3 a15", "", -1},
      {"double four", "e8 d8 f8 h4 g8 a1 h5 a15 h6 o1 h7 o15", "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Point> moves = test::Rif(c.moves);
    Searcher searcher(1 << 20);
    const SearchReport report = searcher.Search(moves, kQuick);
    ASSERT_NE(report.move, kNoCell);
    if (*c.expected != '\0') {
      EXPECT_EQ(PointOf(report.move), test::Rif(c.expected)[0]);
    }
    if (c.score != 0) {
      EXPECT_TRUE(c.score > 0 ? report.score >= kWinBound : report.score <= -kWinBound)
          << report.score;
    }
    if (c.plies != 0) {
      EXPECT_EQ(report.score, kWinScore - c.plies);
    }
    zel::Board stones{};
    for (std::size_t i = 0; i < moves.size(); ++i)
      stones[moves[i].row][moves[i].col] = static_cast<BoardValue>(i % 2 == 0 ? kBlack : kWhite);
    const Point p = PointOf(report.move);
    EXPECT_EQ(stones[p.row][p.col], kEmpty);
    if (moves.size() % 2 == 0 && c.score >= 0) {
      EXPECT_FALSE(IsForbidden(JudgeBlackMove(stones, p)));
    }
  }
}

// A raised stop flag ends the search at once with a move of the first iteration.
TEST(Searcher, StopsWhenTold) {
  const std::atomic<bool> stop = true;
  Searcher searcher(1 << 20);
  int iterations = 0;
  const SearchReport report =
      searcher.Search(test::Rif("h8 h9 i8 g8 i9 i10 j10 k11 g10 j8"), Limits{}, &stop,
                      [&](const SearchReport&) { ++iterations; });
  EXPECT_NE(report.move, kNoCell);
  EXPECT_LE(report.depth, 1);
  EXPECT_EQ(iterations, 0);
}

// A small node limit still leaves the iterations their share: the root's solvers (here facing
// many threes of the opponent's to check) keep within part of it.
TEST(Searcher, NodeLimitLeavesIterations) {
  Searcher searcher(1 << 20);
  int iterations = 0;
  const SearchReport report =
      searcher.Search(test::Rif("h8 i8 f8 j7 h9 h7 g7 j9 k10 i6 f6 i9 i5"), Limits{.nodes = 2000},
                      nullptr, [&](const SearchReport&) { ++iterations; });
  EXPECT_GE(iterations, 1);
  EXPECT_LE(report.nodes, 2000 + 300);
}

// Tuning weights are read only as a full set: 22 per role, the side to move's first.
TEST(Evaluation, ParseWeights) {
  std::string full;
  for (int i = 0; i < 44; ++i)
    full += std::to_string(i - 5) + (i % 3 == 0 ? ", " : ",");
  const struct {
    std::string text;
    bool ok;
  } cases[] = {
      {full.substr(0, full.size() - 1), true},
      {full + "7", false},                                        // one too many
      {full.substr(0, full.rfind(',', full.size() - 2)), false},  // one too few
      {"1,2,x" + full, false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Weights weights = DefaultWeights();
    EXPECT_EQ(ParseWeights(c.text, weights), c.ok);
    if (c.ok) {
      EXPECT_EQ(weights[kToMove].line[0], -5);
      EXPECT_EQ(weights[kToMove].threat[0], 6);
      EXPECT_EQ(weights[kWaiting].line[0], 17);
      EXPECT_EQ(weights[kWaiting].threat[10], 38);
    } else {
      EXPECT_EQ(weights[kWaiting].threat[10], DefaultWeights()[kWaiting].threat[10]);
    }
  }
}

// The strong engine's bench: every built-in position searched to a fixed depth; the total pins
// what the search does.
TEST(Searcher, BenchSignature) {
  const test::CliRun run = test::RunCli("bench --strong");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\nTotal nodes 613545\n"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace zel::ab
