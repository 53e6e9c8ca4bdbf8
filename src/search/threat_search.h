// The threat-space search: SearchBlack and SearchWhite call each other, trying only forcing
// moves (fives, fours, four-threes, threes), the answers to the opponent's threats, and a few
// quiet moves at the first plies.
#pragma once

#include <cstdint>
#include <optional>

#include "patterns/board.h"
#include "patterns/threat_inventory.h"
#include "search/engine_state.h"
#include "search/search_call.h"
#include "search/search_result.h"
#include "search/search_stack.h"
#include "threats/answers.h"
#include "threats/carry.h"

namespace zel {

class ThreatSearch {
 public:
  // The search reads the game's move count, move list and settings from state, writes its
  // scratch entries into the move list, and reports nodes through state.hooks.
  explicit ThreatSearch(EngineState& state) : state_(state) {}

  // Searches for Black / White to move. `inherited` is the parent's threat inventory (unused at
  // the root, which scans the whole board); `parent` is the position before call.last, which
  // the node copies and never writes.
  SearchResult SearchBlack(const SearchCall& call, const ThreatInventory& inherited,
                           const Position& parent);
  SearchResult SearchWhite(const SearchCall& call, const ThreatInventory& inherited,
                           const Position& parent);

  // Calls of SearchBlack and SearchWhite so far, those cut off at the depth bound included.
  std::int64_t nodes() const { return nodes_; }
  // Whether the hooks asked the search to stop; its answer then means nothing.
  bool stopped() const { return stopped_; }

  // A node's state, and the best answer among its defences (defined with the search's code).
  using Node = SearchNode;
  template <int Us>
  class BestAnswer;

 private:
  template <int Us>
  SearchResult Search(const SearchCall& call, const ThreatInventory& inherited,
                      const Position& parent);

  // The steps of a node. Those that return an optional decide the node when they return a
  // result, and let it go on otherwise.
  template <int Us>
  void Enter(Node& node, const ThreatInventory& inherited);
  template <int Us>
  KindSet OwnKinds(const Node& node) const;
  template <int Us>
  bool OwnFivesAbsent(const Node& node, const CarriedThreats& carried) const;
  template <int Us>
  std::optional<SearchResult> DecidedPosition(Node& node);
  template <int Us>
  std::optional<SearchResult> AttackWithCombinations(Node& node);
  template <int Us>
  std::optional<SearchResult> AttackWithFours(Node& node);
  template <int Us>
  std::optional<SearchResult> AttackWithThrees(Node& node);
  template <int Us>
  SearchResult DefendStraightFours(Node& node);
  template <int Us>
  SearchResult DefendCombinations(Node& node);
  SearchResult DefendDoubleThrees(Node& node);
  template <int Us>
  SearchResult QuietMoves(Node& node);
  template <int Us>
  SearchResult QuietAfterLoss(Node& node, int maxTries, bool withBox);
  template <int Us>
  SearchResult QuietCandidates(Node& node);
  template <int Us>
  std::optional<SearchResult> CounterFourAtRoot(Node& node, const BestAnswer<Us>& best);
  template <int Us>
  SearchResult CounterFourCheck(Node& node, int lossDepth, const SearchCall& call);

  // Tries the answers to a combination point in list order; shared by two defences.
  template <int Us>
  std::optional<SearchResult> TryAnswers(Node& node, const AnswerList& answers, int count,
                                         BestAnswer<Us>& best);

  // Calls the opponent's search for a move of this node and records it.
  template <int Us>
  SearchResult Try(Node& node, const SearchCall& child);
  // A result decided without a child search, recorded like a tried move.
  SearchResult Decide(const Node& node, Point p, int value, int depth);
  // The one-ply choice for a colour on the node's position; nothing when no point is playable.
  std::optional<Point> Choose(const Node& node, int colour);

  void RecordTrace(int index, int ply, Point p, int value);

  EngineState& state_;
  std::int64_t nodes_ = 0;
  bool stopped_ = false;
};

}  // namespace zel
