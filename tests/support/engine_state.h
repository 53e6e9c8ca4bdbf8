// Engine states for tests of the move choice and the searches.
#pragma once

#include <span>

#include "patterns/update.h"
#include "search/engine_state.h"
#include "support/printers.h"

namespace zel::test {

// An engine state for a game of moveCount moves on pos, its generator seeded with 1.
inline EngineState EngineAt(const Position& pos, int moveCount) {
  EngineState state;
  state.position = pos;
  state.moveCount = moveCount;
  state.random.Seed(1);
  return state;
}

// Plays the next move of the game in state, as the game does: no checks.
inline void PlayMove(EngineState& state, Point p) {
  state.moveList[++state.moveCount] = p;
  UpdatePatterns(state.position, p.row, p.col, StoneColour(state.moveCount, 1));
}

// Takes the last move back, as the game does.
inline void TakeBackMove(EngineState& state) {
  const Point last = state.moveList[state.moveCount--];
  UpdatePatterns(state.position, last.row, last.col, 0);
}

inline int SideToMove(const EngineState& state) {
  return state.moveCount % 2 == 0 ? kBlack : kWhite;
}

// The engine state of a game of these moves (Black first), its generator seeded with 1: the move
// list, the move count and the position agree as the game keeps them.
inline EngineState EngineAfter(std::span<const Point> moves) {
  EngineState state;
  for (const Point p : moves)
    PlayMove(state, p);
  state.random.Seed(1);
  return state;
}

}  // namespace zel::test
