#include "patterns/near_points.h"

#include <algorithm>
#include <cassert>

namespace zel {
namespace {

void Append(NearPoints& near, int row, int col) {
  assert(near.count < static_cast<int>(near.points.size()));
  near.points[near.count++] = {row, col};
}

// How many steps of -1, 0 or +1 a coordinate can take before it leaves the board.
int RoomAlong(int coordinate, int step) {
  if (step > 0) return kBoardSize - 1 - coordinate;
  if (step < 0) return coordinate;
  return kBoardSize;
}

}  // namespace

NearPoints CollectNearPoints(int mode, int reach, int row, int col, const Board& board) {
  assert(reach <= 7);  // eight rays or four lines of up to six points each on both sides
  NearPoints near;
  if (mode == kRayMode) {
    const int opponent = board[row][col] == kBlack ? kWhite : kBlack;
    static constexpr int kRays[8][2] = {{0, -1},  {0, 1}, {-1, 0}, {1, 0},
                                        {-1, -1}, {1, 1}, {-1, 1}, {1, -1}};
    for (const auto& ray : kRays) {
      // The steps that stay on the board, so that the walk itself needs no edge test.
      const int steps = std::min({reach - 1, RoomAlong(row, ray[0]), RoomAlong(col, ray[1])});
      int r = row;
      int c = col;
      for (int k = 1; k <= steps; ++k) {
        r += ray[0];
        c += ray[1];
        if (board[r][c] == opponent) break;
        if (board[r][c] < 1) Append(near, r, c);
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
