// The threat search: node entry, decided positions and the attacks.
#include "search/threat_search.h"

#include <cassert>

#include "patterns/update.h"
#include "search/search_node.h"
#include "threats/carry.h"
#include "threats/line_tests.h"

namespace zel {
namespace {

// The inventory of the threats near a stone. A node whose stone is "no move" (the game had no
// move before it) has nothing near it.
void ScanAround(int ply, ThreatInventory& inventory, const Position& pos, Point stone,
                KindSet kinds) {
  if (OnBoard(stone)) {
    ScanThreats(ply, inventory, pos, stone.row, stone.col, kinds);
  } else {
    inventory.ClearCounts();
  }
}

// Whether an attack point passes the reach filter: on a line with the mover's previous stone,
// or near it at the first plies.
bool WithinReach(int line, int ply, int reachDepth, int reach, Point p, Point previous) {
  return line != 0 ||
         (ply <= reachDepth && IsNear(reach, p.row, p.col, previous.row, previous.col));
}

int LineWith(Point p, Point previous) {
  return LineDirection(5, p.row, p.col, previous.row, previous.col);
}

}  // namespace

SearchResult ThreatSearch::SearchBlack(const SearchCall& call, const ThreatInventory& inherited,
                                       const Position& parent) {
  return Search<kBlack>(call, inherited, parent);
}

SearchResult ThreatSearch::SearchWhite(const SearchCall& call, const ThreatInventory& inherited,
                                       const Position& parent) {
  return Search<kWhite>(call, inherited, parent);
}

template <int Us>
SearchResult ThreatSearch::Search(const SearchCall& call, const ThreatInventory& inherited,
                                  const Position& parent) {
  constexpr int kThem = Opponent(Us);
  ++nodes_;

  // Step 1. Entry: keep the window responsive, stop at the depth bound, copy the position into
  // this depth's node. Think keeps the bound within the move list and the node stack; a call
  // that would go past them is stopped as at the bound.
  if (call.depth == 6 && state_.hooks != nullptr) state_.hooks->PumpOneMessage();
  // A search whose time is up unwinds at once, every node answering as at the depth bound.
  if (stopped_ || (state_.hooks != nullptr && state_.hooks->StopRequested())) {
    stopped_ = true;
    return {0, 0, 0, call.depth};
  }
  const SearchSettings& settings = state_.settings;
  if (call.depth > settings.searchLevel + settings.fourExtension || call.depth > kMaxSearchDepth) {
    return {0, 0, 0, call.depth};
  }
  Node& node = state_.searchStack.At(call.depth);
  node.Reset(call, parent);
  Enter<Us>(node, inherited);

  // Step 2. Fives and straight fours decide the node at once.
  if (auto result = DecidedPosition<Us>(node)) return *result;
  // Step 3. Attack with four-three (White: four-four too) points.
  if (auto result = AttackWithCombinations<Us>(node)) return *result;
  // Step 4. Attack with fours.
  if (auto result = AttackWithFours<Us>(node)) return *result;
  // Step 5. A fours-only line ends when no four wins.
  if (call.Level(Us) == kFoursOnly) {
    return {node.lastExamined.row, node.lastExamined.col, 0, call.depth};
  }
  // Step 6. The opponent's straight-four and combination points must be answered.
  if (!node.last.Empty(Kinds<kThem>::kStraightFours)) return DefendStraightFours<Us>(node);
  if (!node.last.Empty(Kinds<kThem>::kCombinations)) return DefendCombinations<Us>(node);
  // Step 7. Attack with threes (White: double threes first).
  if (auto result = AttackWithThrees<Us>(node)) return *result;
  // Step 8. Black answers White's double threes; otherwise a quiet move at the first plies.
  if constexpr (Us == kBlack) {
    if (!node.last.Empty(kWhiteDoubleThrees)) return DefendDoubleThrees(node);
  }
  return QuietMoves<Us>(node);
}

// The lists of the own inventory that a node reads: only the mover's, and its threes (White: its
// double threes too) only when it may attack with them (step 7). Children inherit the other
// inventory, which lists everything.
template <int Us>
KindSet ThreatSearch::OwnKinds(const Node& node) const {
  using K = Kinds<Us>;
  const bool threes =
      node.ply < state_.settings.searchLevel && node.call.Level(Us) == kThreesAndFours;
  KindSet kinds = Us == kBlack ? kBlackKinds : kWhiteKinds;
  if (!threes) kinds &= ~(KindBit(K::kThrees) | (Us == kWhite ? KindBit(kWhiteDoubleThrees) : 0));
  return kinds;
}

template <int Us>
void ThreatSearch::Enter(Node& node, const ThreatInventory& inherited) {
  if (node.ply == 1) {
    // The root scans the whole board; the inventory handed in is not used.
    ScanThreats(1, node.last, node.pos, 0, 0);
    node.own = node.last;
    return;
  }
  // Below the root: note the move in the scratch part of the move list, play it, and build the
  // two inventories around the last two stones, completed with the parent's threats.
  const int scratch = state_.moveCount + node.call.depth;
  assert(scratch < kMoveListSize);
  if (scratch < kMoveListSize) state_.moveList[scratch] = node.call.last;
  UpdatePatterns(node.pos, node.call.last.row, node.call.last.col,
                 StoneColour(state_.moveCount, node.ply));
  CarriedThreats& carried = state_.searchStack.Carried();
  carried.Collect(inherited, node.pos);
  ScanAround(node.ply, node.last, node.pos, node.call.last, kEveryKind);
  carried.MergeInto(node.last);

  // A node facing a five of the opponent's reads only its own fives (step 2), and it has none:
  // the opponent's node above met every five of ours that this node could list (the same
  // points, around our previous stone and carried), and in its own step 2 either lost or took
  // the one five point; a stone of the opponent's makes no five of ours. So the own inventory
  // stays empty, and a debug build checks it.
  if (!node.last.Empty(Kinds<Opponent(Us)>::kFives)) {
    node.own.ClearCounts();
    assert(OwnFivesAbsent<Us>(node, carried));
    return;
  }
  const KindSet ownKinds = OwnKinds<Us>(node);
  ScanAround(node.ply, node.own, node.pos, node.call.previous, ownKinds);
  carried.MergeInto(node.own, ownKinds);
}

template <int Us>
bool ThreatSearch::OwnFivesAbsent(const Node& node, const CarriedThreats& carried) const {
  ThreatInventory fives;
  const KindSet kind = KindBit(Kinds<Us>::kFives);
  ScanAround(node.ply, fives, node.pos, node.call.previous, kind);
  carried.MergeInto(fives, kind);
  return fives.Empty(Kinds<Us>::kFives);
}

template <int Us>
std::optional<SearchResult> ThreatSearch::DecidedPosition(Node& node) {
  using O = Outcome<Us>;
  constexpr int kThem = Opponent(Us);
  const int ply = node.ply;

  // 2.1 A five of our own wins.
  if (!node.own.Empty(Kinds<Us>::kFives)) {
    return Decide(node, ToPoint(node.own.At(Kinds<Us>::kFives, 0)), O::kWin, ply);
  }

  // 2.2 The opponent's five must be blocked. One five point can be (for Black only where it is
  // not marked); two cannot.
  if (!node.last.Empty(Kinds<kThem>::kFives)) {
    const Point five = ToPoint(node.last.At(Kinds<kThem>::kFives, 0));
    bool single = true;
    for (const ThreatEntry& e : node.last.List(Kinds<kThem>::kFives)) {
      single = single && ToPoint(e) == five;
    }
    const bool blockable = single && (Us == kWhite || node.pos.board[five.row][five.col] >= 0);
    if (blockable) {
      const SearchSettings& s = state_.settings;
      if (ply >= s.searchLevel + s.fourExtension) return Decide(node, five, O::kUnresolved, ply);
      SearchCall child = ChildCall(node, five);
      if (ply == 1) child.blackLevel = child.whiteLevel = kFoursOnly;
      const SearchResult reply = Try<Us>(node, child);
      return SearchResult{five.row, five.col, reply.value, reply.depth};
    }
    Point move = five;
    if (Us == kBlack && ply == 1) move = Choose(node, kBlack).value_or(five);
    return Decide(node, move, O::kLoss, ply);
  }

  // 2.3 A straight four of our own wins.
  if (!node.own.Empty(Kinds<Us>::kStraightFours)) {
    return Decide(node, ToPoint(node.own.At(Kinds<Us>::kStraightFours, 0)), O::kWin, ply);
  }
  return std::nullopt;
}

template <int Us>
std::optional<SearchResult> ThreatSearch::AttackWithCombinations(Node& node) {
  using O = Outcome<Us>;
  constexpr int kKind = Kinds<Us>::kCombinations;
  if (node.own.Empty(kKind)) return std::nullopt;

  // At the last two plies a four-three point counts as a win without proof.
  const SearchSettings& s = state_.settings;
  if (node.ply >= s.searchLevel + s.fourExtension - 1) {
    return Decide(node, ToPoint(node.own.At(kKind, 0)), O::kWin, node.ply);
  }
  for (const ThreatEntry& e : node.own.List(kKind)) {
    const Point p = ToPoint(e);
    SearchCall child = ChildCall(node, p);
    child.Reach(Us) = 1;
    if (Us == kWhite) child.Reach(Opponent(Us)) = 1;
    const SearchResult reply = Try<Us>(node, child);
    node.lastExamined = p;
    if (reply.value == O::kWin) return SearchResult{p.row, p.col, O::kWin, reply.depth};
  }
  return std::nullopt;
}

template <int Us>
std::optional<SearchResult> ThreatSearch::AttackWithFours(Node& node) {
  using O = Outcome<Us>;
  constexpr int kKind = Kinds<Us>::kFours;
  const SearchSettings& s = state_.settings;
  if (node.ply >= s.searchLevel + s.fourExtension || node.own.Empty(kKind)) return std::nullopt;

  const Point previous = node.call.previous;
  // Pass 1 takes the fours on a line with the mover's previous stone, pass 2 the others.
  for (const bool onLine : {true, false}) {
    for (const ThreatEntry& e : node.own.List(kKind)) {
      const Point q = ToPoint(e);
      const int line = LineWith(q, previous);
      if ((line != 0) != onLine) continue;
      if (node.call.Reach(Us) != 0 &&
          !WithinReach(line, node.ply, s.fourReachDepth, s.fourReach, q, previous)) {
        continue;
      }
      SearchCall child = ChildCall(node, q);
      child.Level(Us) = kFoursOnly;
      child.Reach(Us) = 1;
      const SearchResult reply = Try<Us>(node, child);
      node.lastExamined = q;
      if (reply.value != O::kWin) continue;
      if (node.ply > 1) return SearchResult{q.row, q.col, O::kWin, reply.depth};

      // At the root, keep a four that the win does not need in reserve: when the winning line's
      // next stone of ours (scratch entry move count + 3) is off this four's line, try it first.
      const Point next = state_.moveList[state_.moveCount + 3];
      if (OnBoard(next) && node.pos.board[next.row][next.col] == kEmpty && LineWith(q, next) == 0) {
        SearchCall direct = ChildCall(node, next);
        direct.Level(Us) = kFoursOnly;
        direct.Reach(Us) = 1;
        const SearchResult second = Try<Us>(node, direct);
        if (second.value == O::kWin) return SearchResult{next.row, next.col, O::kWin, second.depth};
      }
      return SearchResult{q.row, q.col, O::kWin, reply.depth};
    }
  }
  return std::nullopt;
}

template <int Us>
std::optional<SearchResult> ThreatSearch::AttackWithThrees(Node& node) {
  using O = Outcome<Us>;
  using K = Kinds<Us>;
  const SearchSettings& s = state_.settings;
  if (node.ply >= s.searchLevel || node.call.Level(Us) != kThreesAndFours) return std::nullopt;

  // White tries its double-three points first, like its four-combination points.
  if constexpr (Us == kWhite) {
    for (const ThreatEntry& e : node.own.List(kWhiteDoubleThrees)) {
      const Point p = ToPoint(e);
      SearchCall child = ChildCall(node, p);
      child.blackReach = child.whiteReach = 1;
      const SearchResult reply = Try<Us>(node, child);
      if (reply.value == O::kWin) return SearchResult{p.row, p.col, O::kWin, reply.depth};
    }
  }
  if (node.own.Empty(K::kThrees) && node.own.Empty(K::kFours)) return std::nullopt;

  const Point previous = node.call.previous;
  const bool filtered = node.call.Reach(Us) != 0;
  const bool strongLinesOnly = node.ply > s.strongLineDepth && node.ply > s.searchLevel - 4;
  auto tryAttack = [&](Point p) -> std::optional<SearchResult> {
    SearchCall child = ChildCall(node, p);
    child.Reach(Us) = 1;
    const SearchResult reply = Try<Us>(node, child);
    if (reply.value == O::kWin) return SearchResult{p.row, p.col, O::kWin, reply.depth};
    return std::nullopt;
  };

  for (const bool onLine : {true, false}) {
    for (const ThreatEntry& e : node.own.List(K::kThrees)) {
      const Point t = ToPoint(e);
      const int line = LineWith(t, previous);
      if ((line != 0) != onLine) continue;
      if (strongLinesOnly && CountStrongLines(t.row, t.col, node.pos, Us) < 2) continue;
      if (filtered && !WithinReach(line, node.ply, s.threeReachDepth, s.threeReach, t, previous)) {
        continue;
      }
      if (auto result = tryAttack(t)) return result;
    }
    for (const ThreatEntry& e : node.own.List(K::kFours)) {
      const Point q = ToPoint(e);
      const int line = LineWith(q, previous);
      if ((line != 0) != onLine) continue;
      if (filtered && !WithinReach(line, node.ply, s.fourReachDepth, s.fourReach, q, previous)) {
        continue;
      }
      if (auto result = tryAttack(q)) return result;
    }
  }
  return std::nullopt;
}

template <int Us>
SearchResult ThreatSearch::Try(Node& node, const SearchCall& child) {
  const int index = state_.traceCount++;
  const SearchResult reply = Search<Opponent(Us)>(child, node.last, node.pos);
  RecordTrace(index, node.ply, child.last, reply.value);
  return reply;
}

SearchResult ThreatSearch::Decide(const Node& node, Point p, int value, int depth) {
  RecordTrace(state_.traceCount++, node.ply, p, value);
  return {p.row, p.col, value, depth};
}

std::optional<Point> ThreatSearch::Choose(const Node& node, int colour) {
  ScoreTable scores;
  return ChooseMove(state_, colour, node.pos, scores).point;
}

void ThreatSearch::RecordTrace(int index, int ply, Point p, int value) {
  if (state_.hooks != nullptr) state_.hooks->RecordTrace(index, ply, p.row, p.col, value);
}

// The defences and quiet moves live in defences.cpp.
template SearchResult ThreatSearch::Try<kBlack>(Node&, const SearchCall&);
template SearchResult ThreatSearch::Try<kWhite>(Node&, const SearchCall&);

}  // namespace zel
