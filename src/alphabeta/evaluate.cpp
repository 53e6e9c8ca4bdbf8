#include "alphabeta/evaluate.h"

namespace zel::ab {

namespace {

// Line patterns:      dead one two open2 three open3 four open4 five overline double4
// Threat classes:     none forbidden two double2 closed3 three double3 four four3 flex4 five
constexpr Weights kWeights{{
    // The side to move: its open threes and fours are a move from winning.
    {{0, 1, 3, 8, 10, 28, 30, 200, 0, 0, 0}, {0, -5, 0, 12, 0, 10, 120, 20, 300, 500, 900}},
    // The side that waits: its threats are the opponent's to answer first.
    {{0, 1, 3, 7, 8, 20, 22, 120, 0, 0, 0}, {0, -5, 0, 10, 0, 6, 60, 12, 150, 250, 450}},
}};

}  // namespace

const Weights& DefaultWeights() {
  return kWeights;
}

}  // namespace zel::ab
