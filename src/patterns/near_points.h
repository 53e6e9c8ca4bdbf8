// The empty points near a point: where the threat scan looks below the root, and whose codes
// the move choice's trial placements compare.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <span>

#include "patterns/board.h"
#include "patterns/lines.h"

namespace zel {

inline constexpr int kRayMode = 1;
inline constexpr int kWindowMode = 2;
inline constexpr int kThreatRayMode = 3;

// With reach 5 any mode yields at most 32 points.
struct NearPoints {
  std::array<Point, 48> points;
  int count = 0;
  std::span<const Point> List() const { return {points.data(), static_cast<size_t>(count)}; }
};

// Ray mode (kRayMode) walks the eight rays W, E, N, S, NW, SE, NE, SW up to reach - 1 steps,
// stopping at the edge or at an opponent stone and passing over the other stones, taking every
// point whose value is below 1. The opponent is White when (row, col) holds a Black stone, and
// Black otherwise. Window mode (kWindowMode) takes every point below 1 at offsets -(reach - 1)
// to reach - 1 on the row, column, diagonal and anti-diagonal, in that order; stones do not
// stop it. Threat ray mode (kThreatRayMode) is ray mode taking only the points where either
// colour has a threat (a Black threat count above 0): all that the threat scan looks at. The
// ray modes read the position's line masks, window mode its board.
NearPoints CollectNearPoints(int mode, int reach, int row, int col, const Position& pos);

// Calls visit(row, col) for each near point in turn, without collecting them.
template <typename Visit>
void ForEachNearPoint(int mode, int reach, int row, int col, const Position& pos, Visit&& visit) {
  assert(reach <= 7);  // eight rays or four lines of up to six points each on both sides
  if (mode == kWindowMode) {
    for (int dir = 0; dir < kDirections; ++dir) {
      for (int t = -(reach - 1); t < reach; ++t) {
        const int r = row + t * kRowStep[dir];
        const int c = col + t * kColStep[dir];
        if (t != 0 && OnBoard(r, c) && pos.board[r][c] < 1) visit(r, c);
      }
    }
    return;
  }
  // Each line through the point gives two rays, the one towards the line's start first (W, N,
  // NW, NE), then the other (E, S, SE, SW). A ray's points are the cells without a stone before
  // the first opponent stone, reach - 1 cells at most.
  const int opponent = pos.board[row][col] == kBlack ? kWhite : kBlack;
  for (int dir = 0; dir < kDirections; ++dir) {
    const LineSpot place = kLineSpots[row][col][dir];
    const int at = place.at;
    const unsigned stopping = pos.Lines(opponent)[dir][place.number];
    const unsigned occupied = pos.blackLines[dir][place.number] | pos.whiteLines[dir][place.number];
    const unsigned taken = mode == kThreatRayMode ? pos.threatLines[dir][place.number] : ~0U;
    // Cell t of the line, as the point's neighbour t - at steps along the direction.
    auto visitCell = [&](int t) {
      visit(row + (t - at) * kRowStep[dir], col + (t - at) * kColStep[dir]);
    };

    // Towards the start: cells at - 1 down to at - (reach - 1), or past the opponent stone.
    int low = std::max(0, at - (reach - 1));
    if (const unsigned stops = stopping & ((1U << at) - 1) & ~((1U << low) - 1); stops != 0) {
      low = static_cast<int>(std::bit_width(stops));
    }
    for (unsigned free = taken & ~occupied & ((1U << at) - 1) & ~((1U << low) - 1); free != 0;) {
      const int t = static_cast<int>(std::bit_width(free)) - 1;
      free &= ~(1U << t);
      visitCell(t);
    }

    // Away from the start: cells at + 1 up to at + reach - 1, or before the opponent stone.
    int high = std::min(static_cast<int>(place.length), at + reach);  // one past the last cell
    if (const unsigned stops = stopping & ~((2U << at) - 1) & ((1U << high) - 1); stops != 0) {
      high = std::countr_zero(stops);
    }
    for (unsigned free = taken & ~occupied & ~((2U << at) - 1) & ((1U << high) - 1); free != 0;
         free &= free - 1) {
      visitCell(std::countr_zero(free));
    }
  }
}

}  // namespace zel
