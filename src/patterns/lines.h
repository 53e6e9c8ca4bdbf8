// The board's lines: the rows, columns, diagonals and anti-diagonals, each a run of cells from
// its start, numbered within its direction.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "patterns/geometry.h"

namespace zel {

// Lines are numbered within their direction: rows and columns 0 to 14, diagonals and
// anti-diagonals 0 to 28.
inline constexpr int kLinesPerDirection = 2 * kBoardSize - 1;

// The line through a point in one direction: its first cell, its length, the point's index
// along it and the line's number (the slot of its stone masks in a position). LineAt gives it.
struct Line {
  int startRow;
  int startCol;
  int length;
  int at;
  int number;
  int dir;

  // The cell t steps from the line's start.
  int Row(int t) const { return startRow + t * kRowStep[dir]; }
  int Col(int t) const { return startCol + t * kColStep[dir]; }
};

// The number of the line through (row, col) in direction dir, and the point's index along it.
struct LinePlace {
  int number;
  int at;
};

constexpr LinePlace PlaceOnLine(int row, int col, int dir) {
  switch (dir) {
    case 0:
      return {row, col};
    case 1:
      return {col, row};
    case 2:
      return {row - col + kBoardSize - 1, std::min(row, col)};
    default:
      return {row + col, row - std::max(0, row + col - (kBoardSize - 1))};
  }
}

// The number of cells of line `number` in direction dir (0 for numbers no line has).
constexpr int LineLengthByNumber(int dir, int number) {
  if (dir < 2) return number < kBoardSize ? kBoardSize : 0;
  const int offset = number - (kBoardSize - 1);
  return kBoardSize - (offset < 0 ? -offset : offset);
}

// Where a colour's codes lie when they are kept line by line: the lines of each direction by
// number, each from its start, kBoardSize * kBoardSize cells per direction.
inline constexpr int kCodeCells = kDirections * kBoardSize * kBoardSize;
inline constexpr auto kLineStart = [] {
  std::array<std::array<std::uint16_t, kLinesPerDirection>, kDirections> start{};
  int offset = 0;
  for (int d = 0; d < kDirections; ++d) {
    for (int n = 0; n < kLinesPerDirection; ++n) {
      start[d][n] = static_cast<std::uint16_t>(offset);
      offset += LineLengthByNumber(d, n);
    }
  }
  return start;
}();

// Where each point lies on each of its lines, worked out once: the pattern update and the
// near-point walk ask at every node of the search.
struct LineSpot {
  std::uint8_t number;  // as PlaceOnLine
  std::uint8_t at;      // as PlaceOnLine
  std::uint8_t length;  // as LineLengthByNumber
  std::uint16_t cell;   // the point's place in a table of codes kept line by line
};

inline constexpr auto kLineSpots = [] {
  std::array<std::array<std::array<LineSpot, kDirections>, kBoardSize>, kBoardSize> spots{};
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      for (int d = 0; d < kDirections; ++d) {
        const LinePlace place = PlaceOnLine(r, c, d);
        spots[r][c][d] = {static_cast<std::uint8_t>(place.number),
                          static_cast<std::uint8_t>(place.at),
                          static_cast<std::uint8_t>(LineLengthByNumber(d, place.number)),
                          static_cast<std::uint16_t>(kLineStart[d][place.number] + place.at)};
      }
    }
  }
  return spots;
}();

// The line through (row, col) in direction dir, from the table.
inline Line LineAt(int row, int col, int dir) {
  const LineSpot spot = kLineSpots[row][col][dir];
  return {row - spot.at * kRowStep[dir],
          col - spot.at * kColStep[dir],
          spot.length,
          spot.at,
          spot.number,
          dir};
}

}  // namespace zel
