// What a threat search returns, and the values it speaks in.
#pragma once

#include "patterns/board.h"

namespace zel {

// A move and the outcome found for it, always from Black's side:
//   3 / -3  Black / White wins by force within the depth bounds;
//  -2 /  2  the opponent of the searching side (White / Black) has a winning threat and the
//           point is a defence not shown to lose;
//  -1 /  1  the same threat, left unresolved at the depth bound;
//   0       nothing decisive: a quiet move, or (0, 0) at the depth bound.
// depth is the ply at which the deciding line ended.
struct SearchResult {
  int row = 0;
  int col = 0;
  int value = 0;
  int depth = 0;

  Point point() const { return {row, col}; }
  friend constexpr bool operator==(const SearchResult&, const SearchResult&) = default;
};

// The outcome values seen from the searching side `Us`.
template <int Us>
struct Outcome {
  static constexpr int kSign = Us == kBlack ? 1 : -1;
  static constexpr int kWin = 3 * kSign;
  static constexpr int kLoss = -3 * kSign;
  static constexpr int kDefended = -2 * kSign;
  static constexpr int kUnresolved = -1 * kSign;
};

}  // namespace zel
