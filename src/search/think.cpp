#include "search/think.h"

#include <algorithm>

#include "search/choose_move.h"
#include "search/threat_search.h"

namespace zel {

bool HasPlayablePoint(const EngineState& state) {
  const bool black = state.moveCount % 2 == 0;
  for (const auto& row : state.position.board) {
    for (const int value : row) {
      if (black ? value == kEmpty : value < 1) return true;
    }
  }
  return false;
}

Thought Think(EngineState& state, const ThreatInventory& stored) {
  Thought thought;
  if (!HasPlayablePoint(state)) return thought;
  const int colour = state.moveCount % 2 == 0 ? kBlack : kWhite;

  SearchSettings& settings = state.settings;
  if (settings.searchLevel <= 0) {
    ScoreTable scores;
    const MoveChoice choice = ChooseMove(state, colour, state.position, scores);
    if (choice.point) thought.result = SearchResult{choice.point->row, choice.point->col, 0, 0};
    return thought;
  }

  state.traceCount = 0;
  const SearchSettings saved = settings;
  if (state.moveCount <= kOpeningMoves && settings.searchLevel < kOpeningLevel) {
    settings.searchLevel = kOpeningLevel;
  }
  // However it was set, the search stays within the move list's scratch entries.
  settings.fourExtension = std::clamp(settings.fourExtension, 0, kMaxSearchDepth);
  settings.searchLevel = std::min(settings.searchLevel, kMaxSearchDepth - settings.fourExtension);

  SearchCall call;
  call.last = state.moveList[state.moveCount];
  call.previous = state.moveCount >= 1 ? state.moveList[state.moveCount - 1] : kNoPoint;
  ThreatSearch search(state);
  thought.result = colour == kBlack ? search.SearchBlack(call, stored, state.position)
                                    : search.SearchWhite(call, stored, state.position);
  thought.nodes = search.nodes();
  thought.stopped = search.stopped();
  settings = saved;
  return thought;
}

}  // namespace zel
