// The Renju judge over the whole board, as the window and the protocol engine run it after every
// move.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "rules/renju_rules.h"

namespace zel {
namespace {

// Whether a stone of the colour at p completes five or more in a row.
bool MakesFive(const Board& board, Point p, int colour) {
  for (int d = 0; d < kDirections; ++d) {
    int run = 1;
    for (int sign = -1; sign <= 1; sign += 2) {
      int row = p.row + sign * kRowStep[d];
      int col = p.col + sign * kColStep[d];
      while (OnBoard(row, col) && board[row][col] == colour) {
        ++run;
        row += sign * kRowStep[d];
        col += sign * kColStep[d];
      }
    }
    if (run >= 5) return true;
  }
  return false;
}

// Mid-game positions of 20 to 60 stones from seeded random play near the stones already down:
// nobody makes five, and Black never plays a forbidden point.
std::vector<Board> MidGameBoards() {
  std::uint32_t state = 20240601;
  auto next = [&state](int range) {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7fff) % range;
  };
  std::vector<Board> boards;
  for (int game = 0; game < 64; ++game) {
    Board board{};
    board[7][7] = kBlack;
    const int stones = 20 + game * 41 / 63;
    for (int placed = 1; placed < stones;) {
      const int colour = placed % 2 == 0 ? kBlack : kWhite;
      Point p{next(kBoardSize), next(kBoardSize)};
      bool near = false;
      for (int dr = -2; dr <= 2; ++dr) {
        for (int dc = -2; dc <= 2; ++dc)
          near = near || (OnBoard(p.row + dr, p.col + dc) && board[p.row + dr][p.col + dc] > 0);
      }
      if (!near || board[p.row][p.col] != kEmpty || MakesFive(board, p, colour)) continue;
      if (colour == kBlack && IsForbidden(JudgeBlackMove(board, p))) continue;
      board[p.row][p.col] = static_cast<BoardValue>(colour);
      ++placed;
    }
    boards.push_back(board);
  }
  return boards;
}

void BM_JudgeBoardMidGame(benchmark::State& state) {
  const std::vector<Board> boards = MidGameBoards();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(JudgeBoard(boards[i++ % boards.size()]));
  }
}
BENCHMARK(BM_JudgeBoardMidGame)->Unit(benchmark::kMicrosecond);  // the time per whole board

void BM_JudgeBlackMoveMidGame(benchmark::State& state) {
  const std::vector<Board> boards = MidGameBoards();
  size_t i = 0;
  for (auto _ : state) {
    const Board& board = boards[i % boards.size()];
    const Point p{static_cast<int>(i * 7 % kBoardSize), static_cast<int>(i * 11 % kBoardSize)};
    ++i;
    if (board[p.row][p.col] == kEmpty) benchmark::DoNotOptimize(JudgeBlackMove(board, p));
  }
}
BENCHMARK(BM_JudgeBlackMoveMidGame);

}  // namespace
}  // namespace zel
