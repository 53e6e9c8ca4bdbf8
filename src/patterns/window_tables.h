// The three window lookup tables of the segment evaluator. Each is indexed by a stone mask:
// the cells of a window, first to last, give the bits from the highest to the lowest.
#pragma once

#include <array>
#include <bit>

#include "patterns/line_codes.h"

namespace zel {

// One (position, code) pair of a window entry. Positions count from 1 at the window's first
// cell; position 0 means the pair is empty.
struct WindowPair {
  int position = 0;
  int code = 0;
};
using WindowEntry = std::array<WindowPair, 2>;

struct WindowTables {
  std::array<WindowEntry, 64> sixCell{};   // open six-cell windows: threes and straight fours
  std::array<WindowEntry, 32> fiveCell{};  // five-cell windows: fours and fives
  std::array<int, 64> overline{};          // six-cell windows with five stones: the empty cell
};

// Clears the tables and writes their entries:
// - five-cell: three stones list the two empty positions with kFour, four stones list the empty
//   position with kFive;
// - six-cell, first and last cells empty only: two stones among the four inner cells list the
//   other two inner positions with kOpenThree, three stones the last inner one with kStraightFour;
// - overline: five stones hold the position of the sixth, empty cell.
constexpr void InitPatternTables(WindowTables& tables) {
  tables = WindowTables{};
  // The empty positions of a width-cell window, in increasing order.
  auto gaps = [](unsigned mask, int width, std::array<int, 6>& out) {
    int n = 0;
    for (int pos = 1; pos <= width; ++pos) {
      if ((mask >> (width - pos) & 1U) == 0) out[n++] = pos;
    }
  };
  std::array<int, 6> empty{};
  for (unsigned mask = 0; mask < 32; ++mask) {
    const int stones = std::popcount(mask);
    gaps(mask, 5, empty);
    if (stones == 3) tables.fiveCell[mask] = {{{empty[0], kFour}, {empty[1], kFour}}};
    if (stones == 4) tables.fiveCell[mask] = {{{empty[0], kFive}, {}}};
  }
  for (unsigned mask = 0; mask < 64; ++mask) {
    const int stones = std::popcount(mask);
    gaps(mask, 6, empty);
    if (stones == 5) tables.overline[mask] = empty[0];
    if ((mask & 0b100001U) != 0) continue;
    // empty[0] is the window's first cell; the inner gaps follow it.
    if (stones == 2) tables.sixCell[mask] = {{{empty[1], kOpenThree}, {empty[2], kOpenThree}}};
    if (stones == 3) tables.sixCell[mask] = {{{empty[1], kStraightFour}, {}}};
  }
}

constexpr WindowTables MakeWindowTables() {
  WindowTables tables;
  InitPatternTables(tables);
  return tables;
}

// The tables never change, so they are built once, at compile time.
inline constexpr WindowTables kWindowTables = MakeWindowTables();

}  // namespace zel
