// The static evaluation: what the empty points offer each side, by their line patterns and threat
// classes, summed by the board as stones come and go, from the side to move's view.
#pragma once

#include <string_view>

#include "alphabeta/board.h"

namespace zel::ab {

// The weights the engine plays with: the built-in ones, or those of the environment variable
// ZEL_WEIGHTS when it holds a full set (see ParseWeights), for tuning matches.
const Weights& DefaultWeights();

// Reads a full set of weights, the side to move's line patterns and threat classes and then the
// waiting side's, in the order of the Pattern and Threat enums, separated by commas or spaces.
// False, and `weights` unchanged, when the text is anything else.
bool ParseWeights(std::string_view text, Weights& weights);

// The side to move's advantage in the position: its points' worth as the side to move less the
// opponent's as the side that waits.
inline int Evaluate(const PatternBoard& board) {
  const int us = board.SideToMove();
  return board.WeightSum(us, kToMove) - board.WeightSum(Opponent(us), kWaiting);
}

}  // namespace zel::ab
