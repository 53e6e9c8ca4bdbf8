// The static evaluation: what the empty points offer each side, by their line patterns and threat
// classes, summed by the board as stones come and go, from the side to move's view.
#pragma once

#include "alphabeta/board.h"

namespace zel::ab {

// The weights the engine plays with.
const Weights& DefaultWeights();

// The side to move's advantage in the position: its points' worth as the side to move less the
// opponent's as the side that waits.
inline int Evaluate(const PatternBoard& board) {
  const int us = board.SideToMove();
  return board.WeightSum(us, kToMove) - board.WeightSum(Opponent(us), kWaiting);
}

}  // namespace zel::ab
