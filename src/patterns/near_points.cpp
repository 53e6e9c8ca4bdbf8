#include "patterns/near_points.h"

#include <cassert>

namespace zel {
namespace {

void Append(NearPoints& near, int row, int col) {
  assert(near.count < static_cast<int>(near.points.size()));
  near.points[near.count++] = {row, col};
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
      for (int k = 1; k < reach; ++k) {
        const int r = row + k * ray[0];
        const int c = col + k * ray[1];
        if (!OnBoard(r, c) || board[r][c] == opponent) break;
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
