// The threat search: defences against the opponent's threats, quiet moves and the counter-four
// check at the root.
#include <algorithm>
#include <array>

#include "search/search_node.h"
#include "search/threat_search.h"
#include "threats/answers.h"

namespace zel {

template <int Us>
SearchResult ThreatSearch::DefendStraightFours(Node& node) {
  using O = Outcome<Us>;
  constexpr int kThem = Opponent(Us);
  constexpr int kKind = Kinds<kThem>::kStraightFours;
  const SearchSettings& s = state_.settings;
  const int ply = node.ply;

  // 1. Beyond the depth bound for defences the threat stays unresolved.
  if (ply >= s.searchLevel)
    return Decide(node, ToPoint(node.last.At(kKind, 0)), O::kUnresolved, ply);

  // 2. Try the answers to each straight-four point in turn.
  BestAnswer<Us> best;
  int lost = 0;
  bool found = false;  // an answer that neither wins nor loses has been met
  int lastDepth = 0;   // depth of the last child tried
  for (const ThreatEntry& e : node.last.List(kKind)) {
    const Point s4 = ToPoint(e);
    // 2.1 Black cannot stop a straight four on a point it may not play.
    if (Us == kBlack && node.pos.board[s4.row][s4.col] != kEmpty) {
      const Point move = ply == 1 ? Choose(node, kBlack).value_or(s4) : s4;
      return Decide(node, move, O::kLoss, ply);
    }
    // 2.2 The answers: the straight-four point itself, then the points that spoil it.
    AnswerList answers;
    answers[0] = s4;
    const int count = AnswersToStraightFour(answers, s4.row, s4.col, kThem, node.pos);
    auto isThreat = [&](int i) { return IsOwnThreatPoint<Us>(node.pos, answers[i]); };
    for (int i = 0; i < count; ++i) {
      const Point a = answers[i];
      if (Us == kBlack && node.pos.board[a.row][a.col] != kEmpty) continue;
      // 2.3 With three answers, once one holds, the others are worth trying only as threats.
      if (count == 3 && i > 0 && found && !isThreat(i)) continue;
      const SearchResult reply = Try<Us>(node, ChildCall(node, a));
      lastDepth = reply.depth;
      // 2.4 A win ends the search; a defence that holds ends it past the quick-defence ply, or
      // when neither other answer could do more.
      if (reply.value == O::kWin) return {a.row, a.col, O::kWin, reply.depth};
      if (reply.value == O::kLoss) {
        ++lost;
      } else {
        found = true;
        if (ply > s.quickDefenceDepth) return {a.row, a.col, reply.value, reply.depth};
        if (count == 3 && i == 0 && !isThreat(1) && !isThreat(2)) {
          return {a.row, a.col, reply.value, reply.depth};
        }
      }
      // 2.5 Keep the best answer.
      best.Update(a, reply);
    }
  }

  // 3. The result: below the root the best answer; at the root, after the counter-four check,
  // the one-ply choice when no answer loses, else the best answer as a loss or a defence.
  if (ply > 1) return best.result();
  if (auto counter = CounterFourAtRoot<Us>(node, best)) return *counter;
  if (lost == 0) {
    const SearchResult b = best.result();
    const Point move = Choose(node, Us).value_or(b.point());
    return {move.row, move.col, best.value(), 1};
  }
  SearchResult result = best.result();
  if (Us == kWhite) result.depth = lastDepth;
  if (best.value() != O::kLoss) result.value = O::kDefended;
  return result;
}

template <int Us>
std::optional<SearchResult> ThreatSearch::TryAnswers(Node& node, const AnswerList& answers,
                                                     int count, BestAnswer<Us>& best) {
  using O = Outcome<Us>;
  const SearchSettings& s = state_.settings;
  bool found = false;
  auto isThreat = [&](int i) { return IsOwnThreatPoint<Us>(node.pos, answers[i]); };
  for (int i = 0; i < count; ++i) {
    const Point a = answers[i];
    if (Us == kBlack && node.pos.board[a.row][a.col] != kEmpty) continue;
    // Once an answer holds, only answers that are threats themselves are worth trying.
    if (found && !isThreat(i)) continue;
    const SearchResult reply = Try<Us>(node, ChildCall(node, a));
    if (reply.value == O::kWin) return SearchResult{a.row, a.col, O::kWin, reply.depth};
    if (reply.value != O::kLoss) {
      found = true;
      bool laterThreat = false;
      for (int j = i + 1; j < count; ++j)
        laterThreat = laterThreat || isThreat(j);
      if (node.ply >= s.searchLevel - 4 || !laterThreat) {
        return SearchResult{a.row, a.col, reply.value, reply.depth};
      }
    }
    best.Update(a, reply);
  }
  return std::nullopt;
}

template <int Us>
SearchResult ThreatSearch::DefendCombinations(Node& node) {
  using O = Outcome<Us>;
  constexpr int kThem = Opponent(Us);
  constexpr int kKind = Kinds<kThem>::kCombinations;
  if (node.ply >= state_.settings.searchLevel) {
    return Decide(node, ToPoint(node.last.At(kKind, 0)), O::kUnresolved, node.ply);
  }
  BestAnswer<Us> best;
  for (const ThreatEntry& e : node.last.List(kKind)) {
    AnswerList answers;
    answers[0] = ToPoint(e);
    const int count = AnswersToFourThree(answers, e.row, e.col, kThem, node.pos);
    if (auto result = TryAnswers<Us>(node, answers, count, best)) return *result;
  }
  if (node.ply == 1) {
    if (auto counter = CounterFourAtRoot<Us>(node, best)) return *counter;
  }
  return best.result();
}

SearchResult ThreatSearch::DefendDoubleThrees(Node& node) {
  const Point key = ToPoint(node.last.At(kWhiteDoubleThrees, 0));
  if (node.ply >= state_.settings.searchLevel) {
    return Decide(node, key, Outcome<kBlack>::kUnresolved, node.ply);
  }
  // Only the first double-three point is answered.
  BestAnswer<kBlack> best;
  AnswerList answers;
  answers[0] = key;
  const int count = AnswersToThrees(answers, key.row, key.col, kWhite, node.pos);
  if (auto result = TryAnswers<kBlack>(node, answers, count, best)) return *result;
  if (node.ply == 1) {
    if (auto counter = CounterFourAtRoot<kBlack>(node, best)) return *counter;
  }
  return best.result();
}

template <int Us>
SearchResult ThreatSearch::QuietMoves(Node& node) {
  if (node.ply == 1) return QuietAfterLoss<Us>(node, 7, true);
  if (state_.settings.quietMoves) {
    if (node.ply == 2) return QuietCandidates<Us>(node);
    if (node.ply == 3) return QuietAfterLoss<Us>(node, 3, false);
  }
  return {0, 0, 0, 0};
}

// The one-ply choice, tried first. When it loses, the opponent's winning replies are tried in
// turn as our own moves (each refutation suggesting the next), and at the root also the
// opponent's fours and threes in the box around them; the first that does not lose stands.
template <int Us>
SearchResult ThreatSearch::QuietAfterLoss(Node& node, int maxTries, bool withBox) {
  using O = Outcome<Us>;
  constexpr int kThem = Opponent(Us);
  const std::optional<Point> choice = Choose(node, Us);
  if (!choice) return {0, 0, 0, 0};

  auto tryQuiet = [&](Point p) {
    SearchCall child = ChildCall(node, p);
    child.Reach(Us) = 1;
    return Try<Us>(node, child);
  };
  SearchResult reply = tryQuiet(*choice);
  if (reply.value != O::kLoss) return {choice->row, choice->col, reply.value, reply.depth};

  std::array<Point, 16> tried;
  int triedCount = 0;
  tried[triedCount++] = *choice;
  tried[triedCount++] = reply.point();
  auto isTried = [&](Point p, int upTo) {
    return std::find(tried.begin(), tried.begin() + upTo, p) != tried.begin() + upTo;
  };
  SearchResult bestLoss{choice->row, choice->col, O::kLoss, reply.depth};
  int lastDepth = reply.depth;

  auto playable = [&](Point p) { return OnBoard(p) && node.pos.board[p.row][p.col] == kEmpty; };
  for (int k = 1; k <= maxTries && k < triedCount; ++k) {
    const Point p = tried[k];
    if (!playable(p)) continue;
    reply = tryQuiet(p);
    lastDepth = reply.depth;
    if (reply.value != O::kLoss) return {p.row, p.col, O::kDefended, reply.depth};
    if (reply.depth > bestLoss.depth) bestLoss = {p.row, p.col, O::kLoss, reply.depth};
    if (k < maxTries && isTried(reply.point(), k + 1)) break;
    tried[triedCount++] = reply.point();
  }
  if (!withBox) return bestLoss;

  // The box: the tried points and the stone the last refutation ended with, one line wider.
  int top = kBoardSize, bottom = -1, left = kBoardSize, right = -1;
  auto widen = [&](Point p) {
    top = std::min(top, p.row);
    bottom = std::max(bottom, p.row);
    left = std::min(left, p.col);
    right = std::max(right, p.col);
  };
  for (int k = 0; k < triedCount; ++k)
    widen(tried[k]);
  const int scratch = state_.moveCount + lastDepth - 2;
  if (scratch >= 0 && scratch < kMoveListSize && OnBoard(state_.moveList[scratch])) {
    widen(state_.moveList[scratch]);
  }
  auto inBox = [&](Point p) {
    return p.row >= top - 1 && p.row <= bottom + 1 && p.col >= left - 1 && p.col <= right + 1;
  };
  for (const int kind : {Kinds<kThem>::kFours, Kinds<kThem>::kThrees}) {
    for (const ThreatEntry& e : node.last.List(kind)) {
      const Point p = ToPoint(e);
      if (!inBox(p) || isTried(p, triedCount) || !playable(p)) continue;
      reply = tryQuiet(p);
      if (reply.value != O::kLoss) return {p.row, p.col, O::kDefended, reply.depth};
      if (reply.depth > bestLoss.depth) bestLoss = {p.row, p.col, O::kLoss, reply.depth};
    }
  }
  return bestLoss;
}

// At ply 2: the ranked candidates of the one-ply choice that are not threats of their own.
template <int Us>
SearchResult ThreatSearch::QuietCandidates(Node& node) {
  using O = Outcome<Us>;
  ScoreTable scores;
  const MoveChoice choice = ChooseMove(state_, Us, node.pos, scores);
  if (!choice.point) return {0, 0, 0, 0};
  const Point chosen = *choice.point;

  const int level = state_.settings.searchLevel;
  const int limit = level < 11 ? 10 : level < 13 ? 14 : 18;
  int value = 0;
  int depth = 0;
  for (int i = 0; i < limit && i < choice.count; ++i) {
    const Point c = choice.candidates[i];
    if (i > 0 && HasThreatCode(node.pos, Us, c)) continue;
    SearchCall child = ChildCall(node, c);
    child.Reach(Us) = 1;
    const SearchResult reply = Try<Us>(node, child);
    if (reply.value == O::kWin) return {c.row, c.col, O::kWin, reply.depth};
    value = reply.value == O::kLoss ? O::kDefended : reply.value;
    depth = reply.depth;
  }
  return {chosen.row, chosen.col, value, depth};
}

template <int Us>
std::optional<SearchResult> ThreatSearch::CounterFourAtRoot(Node& node,
                                                            const BestAnswer<Us>& best) {
  using O = Outcome<Us>;
  if (best.value() != O::kLoss || best.depth() > state_.settings.searchLevel - 2) {
    return std::nullopt;
  }
  SearchCall call = node.call;
  call.Level(Us) = kFoursOnly;
  call.Reach(Us) = 1;
  const SearchResult counter = CounterFourCheck<Us>(node, best.depth(), call);
  if (counter.value == O::kLoss) return std::nullopt;
  return SearchResult{counter.row, counter.col, O::kDefended, counter.depth};
}

// A four of ours that also takes a point of the opponent's three or four may refute a lost
// position: it must be answered, and the answer may come too late for the opponent's win.
template <int Us>
SearchResult ThreatSearch::CounterFourCheck(Node& node, int lossDepth, const SearchCall& call) {
  using O = Outcome<Us>;
  constexpr int kThem = Opponent(Us);
  auto tryFour = [&](Point q) {
    SearchCall child = call;
    child.depth = node.ply;
    child.previous = node.call.last;
    child.last = q;
    return Try<Us>(node, child);
  };
  auto refutes = [&](const SearchResult& reply) {
    return reply.value != O::kLoss || reply.depth > lossDepth + 2;
  };

  for (const ThreatEntry& e : node.last.List(Kinds<Us>::kFours)) {
    const Point listed = ToPoint(e);
    if constexpr (Us == kBlack) {
      if (!HasThreatCode(node.pos, kThem, listed)) continue;
      const SearchResult reply = tryFour(listed);
      if (refutes(reply)) return {listed.row, listed.col, reply.value, reply.depth};
    } else {
      // Where Black's code is a dead four, White's four point moves along that line to the
      // nearest point of a real White four.
      Point q = listed;
      bool moved = false;
      for (int d = 0; d < kDirections; ++d) {
        if (node.pos.Code(kBlack, q.row, q.col, d) != kDeadFour) continue;
        for (const int offset : {-1, 1, -2, 2, -3, 3}) {
          const Point p{q.row + offset * kRowStep[d], q.col + offset * kColStep[d]};
          if (OnBoard(p) && node.pos.Code(kWhite, p.row, p.col, d) == kFour) {
            q = p;
            moved = true;
            break;
          }
        }
      }
      if (moved) {
        const SearchResult reply = tryFour(q);
        if (refutes(reply)) return {q.row, q.col, reply.value, reply.depth};
      }
      if (HasThreatCode(node.pos, kThem, listed)) {
        const SearchResult reply = tryFour(listed);
        if (refutes(reply)) return {listed.row, listed.col, O::kDefended, reply.depth};
      }
    }
  }
  return {-1, -1, O::kLoss, 0};
}

template SearchResult ThreatSearch::DefendStraightFours<kBlack>(Node&);
template SearchResult ThreatSearch::DefendStraightFours<kWhite>(Node&);
template SearchResult ThreatSearch::DefendCombinations<kBlack>(Node&);
template SearchResult ThreatSearch::DefendCombinations<kWhite>(Node&);
template SearchResult ThreatSearch::QuietMoves<kBlack>(Node&);
template SearchResult ThreatSearch::QuietMoves<kWhite>(Node&);

}  // namespace zel
