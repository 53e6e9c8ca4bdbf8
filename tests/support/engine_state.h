// Engine states for tests of the move choice and the searches.
#pragma once

#include "search/engine_state.h"

namespace zel::test {

// An engine state for a game of moveCount moves on pos, its generator seeded with 1.
inline EngineState EngineAt(const Position& pos, int moveCount) {
  EngineState state;
  state.position = pos;
  state.moveCount = moveCount;
  state.random.Seed(1);
  return state;
}

}  // namespace zel::test
