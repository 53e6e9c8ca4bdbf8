// The computer's thinking for the side to move: the threat search at the root, or the one-ply
// choice when the search level is 0 or less.
#pragma once

#include <cstdint>
#include <optional>

#include "patterns/threat_inventory.h"
#include "search/engine_state.h"
#include "search/search_result.h"

namespace zel {

// Through this many stones on the board the search level is at least kOpeningLevel.
inline constexpr int kOpeningMoves = 9;
inline constexpr int kOpeningLevel = 12;

struct Thought {
  std::optional<SearchResult> result;  // nothing when the side to move has no playable point
  std::int64_t nodes = 0;              // search nodes visited
  bool stopped = false;                // the hooks stopped the search: the result means nothing
};

// Finds the point the computer plays for the side to move of the game in state, without playing
// it. Early in the game (9 stones or fewer) a search level below 12 is raised to 12 for this
// search, and a level or four extension beyond the move list's scratch entries is lowered to
// fit (the settings are restored afterwards). The search starts from the game's last two moves
// with both threat levels 3 and both reach filters off; the root scans the whole board, so the
// stored inventory, passed by reference, is not read. The trace count starts again at 0.
Thought Think(EngineState& state, const ThreatInventory& stored);

// Whether the side to move has a point it may play: for Black an unmarked empty point, for
// White any empty point.
bool HasPlayablePoint(const EngineState& state);

}  // namespace zel
