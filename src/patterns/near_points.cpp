#include "patterns/near_points.h"

#include <algorithm>
#include <bit>
#include <cassert>

#include "patterns/lines.h"

namespace zel {
namespace {

void Append(NearPoints& near, int row, int col) {
  assert(near.count < static_cast<int>(near.points.size()));
  near.points[near.count++] = {row, col};
}

}  // namespace

NearPoints CollectNearPoints(int mode, int reach, int row, int col, const Position& pos) {
  assert(reach <= 7);  // eight rays or four lines of up to six points each on both sides
  NearPoints near;
  const Board& board = pos.board;
  if (mode == kRayMode) {
    // Each line through the point gives two rays, the one towards the line's start first
    // (W, N, NW, NE), then the other (E, S, SE, SW). A ray's points are the cells without a
    // stone before the first opponent stone, reach - 1 cells at most.
    const int opponent = board[row][col] == kBlack ? kWhite : kBlack;
    for (int dir = 0; dir < kDirections; ++dir) {
      const Line line = LineThrough(row, col, dir);
      const unsigned stopping = pos.Lines(opponent)[dir][line.number];
      const unsigned occupied = pos.blackLines[dir][line.number] | pos.whiteLines[dir][line.number];
      const int at = line.at;

      // Towards the start: cells at - 1 down to at - (reach - 1), or the opponent stone.
      int low = std::max(0, at - (reach - 1));
      if (const unsigned stops = stopping & ((1U << at) - 1) & ~((1U << low) - 1); stops != 0) {
        low = static_cast<int>(std::bit_width(stops));
      }
      for (unsigned free = ~occupied & ((1U << at) - 1) & ~((1U << low) - 1); free != 0;) {
        const int t = static_cast<int>(std::bit_width(free)) - 1;
        free &= ~(1U << t);
        Append(near, line.Row(t), line.Col(t));
      }

      // Away from the start: cells at + 1 up to at + reach - 1, or the opponent stone.
      int high = std::min(line.length, at + reach);  // one past the last cell
      if (const unsigned stops = stopping & ~((2U << at) - 1) & ((1U << high) - 1); stops != 0) {
        high = std::countr_zero(stops);
      }
      for (unsigned free = ~occupied & ~((2U << at) - 1) & ((1U << high) - 1); free != 0;
           free &= free - 1) {
        const int t = std::countr_zero(free);
        Append(near, line.Row(t), line.Col(t));
      }
    }
    return near;
  }
  for (int dir = 0; dir < kDirections; ++dir) {
    for (int t = -(reach - 1); t < reach; ++t) {
      const int r = row + t * kRowStep[dir];
      const int c = col + t * kColStep[dir];
      if (t != 0 && OnBoard(r, c) && board[r][c] < 1) Append(near, r, c);
    }
  }
  return near;
}

}  // namespace zel
