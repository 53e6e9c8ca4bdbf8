// The empty points near a point: where the threat scan looks below the root, and whose codes
// the move choice's trial placements compare.
#pragma once

#include <array>
#include <span>

#include "patterns/board.h"

namespace zel {

inline constexpr int kRayMode = 1;
inline constexpr int kWindowMode = 2;

// With reach 5 either mode yields at most 32 points.
struct NearPoints {
  std::array<Point, 48> points;
  int count = 0;
  std::span<const Point> List() const { return {points.data(), static_cast<size_t>(count)}; }
};

// Ray mode (kRayMode) walks the eight rays W, E, N, S, NW, SE, NE, SW up to reach - 1 steps,
// stopping at the edge or at an opponent stone and passing over the other stones, taking every
// point whose value is below 1. The opponent is White when (row, col) holds a Black stone, and
// Black otherwise. Window mode (any other mode) takes every point below 1 at offsets
// -(reach - 1) to reach - 1 on the row, column, diagonal and anti-diagonal, in that order;
// stones do not stop it. Ray mode reads the position's line masks, window mode its board.
NearPoints CollectNearPoints(int mode, int reach, int row, int col, const Position& pos);

}  // namespace zel
