// The VCF solver on third-party puzzles (every 40th of lfz084's VCF collection, whose shortest
// lines were found offline by another solver), its lines checked by a referee that knows only
// how to count stones in a row and what the rules judge says.
#include "alphabeta/vcf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "rules/renju_rules.h"
#include "support/positions.h"

namespace zel::ab {
namespace {

struct Puzzle {
  std::string id;
  std::vector<Point> black, white;
  int toMove = kBlack;
  int shortest = 0;  // the attacker's moves in the offline solver's line
};

std::vector<Puzzle> ReadPuzzles() {
  std::vector<Puzzle> puzzles;
  std::ifstream in(ZEL_ALPHABETA_DATA_DIR "/vcf_puzzles.txt");
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string key, rest;
    words >> key;
    std::getline(words, rest);
    if (key == "PUZZLE") {
      puzzles.emplace_back();
      puzzles.back().id = rest.substr(1);
    }
    if (puzzles.empty()) continue;
    Puzzle& p = puzzles.back();
    if (key == "BLACK") p.black = test::Rif(rest);
    if (key == "WHITE") p.white = test::Rif(rest);
    if (key == "TOMOVE") p.toMove = rest == " white" ? kWhite : kBlack;
    if (key.starts_with("SOLUTION")) p.shortest = std::stoi(rest.substr(rest.find('=') + 1));
  }
  return puzzles;
}

// The points where `colour` makes five: exactly five in a row for Black, five or more for White.
std::vector<Point> FivePoints(const zel::Board& stones, int colour) {
  std::vector<Point> points;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (stones[r][c] == kBlack || stones[r][c] == kWhite) continue;
      for (int d = 0; d < kDirections; ++d) {
        int run = 1;
        for (const int sign : {-1, 1}) {
          for (int k = 1; OnBoard(r + sign * k * kRowStep[d], c + sign * k * kColStep[d]) &&
                          stones[r + sign * k * kRowStep[d]][c + sign * k * kColStep[d]] == colour;
               ++k)
            ++run;
        }
        if (colour == kBlack ? run == 5 : run >= 5) {
          points.push_back({r, c});
          break;
        }
      }
    }
  }
  return points;
}

// Whether `line` is a win by fours for `attacker` on `stones`: each attacker move is legal and
// leaves it a five point, the defender, without a five of its own, takes the only one, and the
// last move leaves two five points or one that Black may not take.
::testing::AssertionResult WinsByFours(zel::Board stones, int attacker,
                                       std::span<const Cell> line) {
  const int defender = Opponent(attacker);
  for (std::size_t i = 0; i < line.size(); ++i) {
    const Point p = PointOf(line[i]);
    const int colour = i % 2 == 0 ? attacker : defender;
    if (stones[p.row][p.col] != kEmpty) return ::testing::AssertionFailure() << i << " occupied";
    if (colour == kBlack && IsForbidden(JudgeBlackMove(stones, p))) {
      return ::testing::AssertionFailure() << "move " << i << " forbidden";
    }
    const std::vector<Point> before = FivePoints(stones, colour);
    const bool five = std::find(before.begin(), before.end(), p) != before.end();
    stones[p.row][p.col] = static_cast<BoardValue>(colour);
    if (colour == attacker && five) return ::testing::AssertionSuccess();
    const std::vector<Point> fives = FivePoints(stones, attacker);
    if (colour == attacker) {
      if (fives.empty()) return ::testing::AssertionFailure() << "move " << i << " is no four";
      if (!FivePoints(stones, defender).empty()) {
        return ::testing::AssertionFailure() << "the defender has a five after " << i;
      }
      const bool lastMove = i + 1 == line.size();
      const bool unstoppable =
          fives.size() > 1 || (defender == kBlack && IsForbidden(JudgeBlackMove(stones, fives[0])));
      if (lastMove) {
        return unstoppable ? ::testing::AssertionSuccess()
                           : ::testing::AssertionFailure() << "the last four can be stopped";
      }
      if (unstoppable || line[i + 1] != CellAt(fives[0])) {
        return ::testing::AssertionFailure() << "move " << i + 1 << " is not the forced block";
      }
    }
  }
  return ::testing::AssertionFailure() << "the line ends without a win";
}

TEST(VcfSolver, SolvesThePuzzlesWithTheShortestLines) {
  const std::vector<Puzzle> puzzles = ReadPuzzles();
  ASSERT_EQ(puzzles.size(), 62U);
  VcfSolver solver;
  for (const Puzzle& puzzle : puzzles) {
    SCOPED_TRACE(puzzle.id);
    PatternBoard board;
    for (const Point p : puzzle.black)
      board.Put(CellAt(p), kBlack);
    for (const Point p : puzzle.white)
      board.Put(CellAt(p), kWhite);
    board.SetSideToMove(puzzle.toMove);
    const std::uint64_t hash = board.Hash();
    ASSERT_NE(solver.Solve(board, 100), kNoCell);
    EXPECT_EQ(board.Hash(), hash);
    EXPECT_TRUE(WinsByFours(board.Stones(), puzzle.toMove, solver.Line()));
    const int fours = static_cast<int>(solver.Line().size() + 1) / 2;
    if (puzzle.shortest <= 8) {
      EXPECT_EQ(fours, puzzle.shortest);
    }
  }
}

// Black's open three wins by its straight four, unless White has a four that Black must block
// with a move that is no four; two Black stones make no four at all.
TEST(VcfSolver, OpenThreeAgainstAFour) {
  const struct {
    const char* moves;  // Black first; Black to move
    bool wins;
  } cases[] = {
      {"h8 a1 i8 a2 j8 a3 o15 o1", true},
      {"h8 a1 i8 a2 j8 a3 o15 a4", false},
      {"h8 a1 i8 o1", false},
  };
  VcfSolver solver;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.moves);
    PatternBoard board;
    for (const Point p : test::Rif(c.moves))
      board.Play(CellAt(p));
    EXPECT_EQ(solver.Solve(board, 20) != kNoCell, c.wins);
  }
}

}  // namespace
}  // namespace zel::ab
