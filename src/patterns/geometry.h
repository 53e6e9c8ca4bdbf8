// Points and the four line directions of the 15 x 15 board.
#pragma once

#include <array>

namespace zel {

inline constexpr int kBoardSize = 15;

// A point of the board: row 0 is the top line, column 0 the left line.
struct Point {
  int row = -1;
  int col = -1;
  friend constexpr bool operator==(Point, Point) = default;
};

// Off the board: what unwritten move-list entries and "no point" read as.
inline constexpr Point kNoPoint{-1, -1};

constexpr bool OnBoard(int row, int col) {
  return row >= 0 && row < kBoardSize && col >= 0 && col < kBoardSize;
}
constexpr bool OnBoard(Point p) {
  return OnBoard(p.row, p.col);
}

// The four line directions, by their slot in a point's entry of codes:
// 0 along a row, 1 along a column, 2 the diagonal (+1, +1), 3 the anti-diagonal (+1, -1).
inline constexpr int kDirections = 4;
inline constexpr std::array<int, kDirections> kRowStep{0, 1, 1, 1};
inline constexpr std::array<int, kDirections> kColStep{1, 0, 1, -1};

}  // namespace zel
