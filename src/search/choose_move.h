// The one-ply move choice: scores every point for one colour, narrows the best down with trial
// placements and picks one, or opens the game by its two opening rules.
#pragma once

#include <array>
#include <optional>

#include "patterns/board.h"
#include "search/engine_state.h"

namespace zel {

struct MoveChoice {
  std::optional<Point> point;  // nothing when no point is selectable
  int count = 0;               // candidates after ranking; 0 when an opening rule chose
  int topCount = 0;            // the near-best group, from which the point is drawn
  std::array<Point, kMaxMoves> candidates;  // ranked, best first; count entries are valid
};

// Chooses a move for colour (1 Black, 2 White) on pos, writing every point's score into
// scores. Reads the game's move count, first two moves and own board from state, and draws
// from its random generator.
MoveChoice ChooseMove(EngineState& state, int colour, const Position& pos, ScoreTable& scores);

}  // namespace zel
