// Positions for fitting the evaluation's weights to game outcomes (scripts/fit_weights.py).
//
//   zel_positions RECORD...
//
// Replays each game record (the program's move files, as the match runner writes them) and prints
// one line per position where the evaluation would be asked: the side to move's result (1 a win,
// 0.5 a draw, 0 a loss), the side to move, the move number, then what the weights multiply: for
// the side to move and then for the other side, the number of the empty points' lines of each
// pattern and of the empty points of each threat class, in the order of the Pattern and Threat
// enums. A game that ends other than by a five or a full board is left out, as its result says
// nothing of the stones.
#include <array>
#include <cstdio>
#include <vector>

#include "alphabeta/board.h"
#include "alphabeta/evaluate.h"
#include "alphabeta/search.h"
#include "files/record.h"

namespace {

using namespace zel;
using namespace zel::ab;

constexpr int kTerms = kPatterns + kThreatClasses;
using Terms = std::array<int, kTerms>;

Terms CountTerms(const PatternBoard& board, int colour) {
  Terms terms{};
  for (Cell c = 0; c < kCells; ++c) {
    if (!board.Empty(c)) continue;
    for (int dir = 0; dir < kDirections; ++dir)
      ++terms[board.LineAt(colour, c, dir)];
    ++terms[kPatterns + static_cast<int>(board.ThreatAt(colour, c))];
  }
  return terms;
}

// The evaluation from the counts, to check that they are what it weighs.
int Weigh(const Terms& own, const Terms& other) {
  const Weights& w = DefaultWeights();
  int sum = 0;
  for (int k = 0; k < kPatterns; ++k)
    sum += w[kToMove].line[k] * own[k] - w[kWaiting].line[k] * other[k];
  for (int k = 0; k < kThreatClasses; ++k) {
    sum += w[kToMove].threat[k] * own[kPatterns + k] - w[kWaiting].threat[k] * other[kPatterns + k];
  }
  return sum;
}

// Where the search asks the evaluation: no five to make or to block, and no win that its
// leaves see at a glance.
bool Quiet(const PatternBoard& board) {
  return board.Fives(board.SideToMove()).Empty() &&
         board.Fives(Opponent(board.SideToMove())).Empty() && PliesToGlancedWin(board) == 0;
}

// The colour that made five, 0 for a full board, -1 for any other end.
int Winner(const std::vector<Point>& moves) {
  PatternBoard board;
  for (const Point p : moves) {
    const int side = board.SideToMove();
    if (board.Fives(side).Has(CellAt(p))) return side;
    board.Play(CellAt(p));
  }
  return board.MoveCount() == kCells ? 0 : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zel_positions RECORD...\n");
    return 2;
  }
  for (int a = 1; a < argc; ++a) {
    const RecordLoad load = LoadRecord(argv[a]);
    const int winner = Winner(load.moves);
    if (winner < 0) continue;
    PatternBoard board(&DefaultWeights());
    for (const Point p : load.moves) {
      const int us = board.SideToMove();
      // The opening's stones are set, not chosen: their positions are left out.
      if (board.MoveCount() >= 4 && Quiet(board)) {
        const Terms own = CountTerms(board, us);
        const Terms other = CountTerms(board, Opponent(us));
        if (Weigh(own, other) != Evaluate(board)) {
          std::fprintf(stderr, "zel_positions: the counts do not give the evaluation\n");
          return 1;
        }
        std::printf("%g %d %d",
                    winner == 0    ? 0.5
                    : winner == us ? 1.0
                                   : 0.0,
                    us, board.MoveCount());
        for (const Terms& terms : {own, other}) {
          for (const int n : terms)
            std::printf(" %d", n);
        }
        std::printf("\n");
      }
      if (board.Fives(us).Has(CellAt(p))) break;
      board.Play(CellAt(p));
    }
  }
  return 0;
}
