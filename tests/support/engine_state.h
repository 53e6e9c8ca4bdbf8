// Engine states for tests of the move choice and the searches; generators seeded with 1.
#pragma once

#include <span>

#include "patterns/update.h"
#include "search/engine_state.h"

namespace zel::test {

// A game of moveCount moves on pos, with no move list.
inline EngineState EngineAt(const Position& pos, int moveCount) {
  EngineState state;
  state.position = pos;
  state.moveCount = moveCount;
  return state;
}

// A game of these moves, Black first, kept as in play.
inline EngineState EngineAfter(std::span<const Point> moves) {
  EngineState state;
  for (const Point p : moves) {
    state.moveList[++state.moveCount] = p;
    UpdatePatterns(state.position, p.row, p.col, StoneColour(state.moveCount, 1));
  }
  return state;
}

}  // namespace zel::test
