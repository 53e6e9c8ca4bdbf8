#include "alphabeta/search.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "alphabeta/evaluate.h"

namespace zel::ab {
namespace {

constexpr int kInfinity = kWinScore + 1;
constexpr int kMaxDepth = 64;

// Move ordering: what a point's threat class is worth to the side that plays there, and to the
// side that would otherwise (a block), by Threat.
//                               none forb two dbl2 cl3 three dbl3 four four3 flex4 five
constexpr int kOwnOrder[] = {0, 0, 20, 60, 40, 150, 700, 120, 2000, 5000, 10000};
constexpr int kBlockOrder[] = {0, 0, 15, 50, 30, 120, 500, 100, 1500, 3000, 8000};
constexpr int kTtMoveOrder = 1 << 20;
constexpr int kKillerOrder = 90;

// A point is quiet when it makes no open three or more and blocks none.
constexpr bool IsQuiet(Threat own, Threat other) {
  return own < Threat::kThree && other < Threat::kThree;
}

// Late-move reductions of quiet moves, by depth and move number: ln(depth) ln(number) / 1.3,
// at least one ply.
constexpr int kReductionDepths = 64;
using ReductionTable = std::array<std::array<std::int8_t, kCells>, kReductionDepths>;
const ReductionTable& Reductions() {
  static const ReductionTable table = [] {
    ReductionTable t{};
    for (int depth = 1; depth < kReductionDepths; ++depth) {
      for (int i = 1; i < kCells; ++i)
        t[depth][i] =
            static_cast<std::int8_t>(std::max(1.0, 0.5 + std::log(depth) * std::log(i) / 1.3));
    }
    return t;
  }();
  return table;
}

// Win and loss scores count plies from the root; the table keeps them from the node.
int ToTable(int score, int ply) {
  return score >= kWinBound ? score + ply : score <= -kWinBound ? score - ply : score;
}
int FromTable(int score, int ply) {
  return score >= kWinBound ? score - ply : score <= -kWinBound ? score + ply : score;
}

}  // namespace

Searcher::Searcher(std::size_t hashBytes) : board_(&DefaultWeights()), tt_(hashBytes) {
  // The solvers hear the stop flag, the limits and the poll hook as the search does.
  auto stopCheck = [this] {
    Poll();
    return stopped_;
  };
  vcf_.SetStopCheck(stopCheck);
  vct_.SetStopCheck(stopCheck);
}

void Searcher::ClearHash() {
  history_ = {};
  tt_.Clear();
  vcf_.Clear();
  vct_.Clear();
}

double Searcher::Elapsed() const {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_)
      .count();
}

void Searcher::Poll() {
  if (pollHook_) pollHook_();
  if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) stopped_ = true;
  if (limits_.nodes > 0 && nodes_ >= limits_.nodes) stopped_ = true;
  if (limits_.time.count() > 0 && Elapsed() >= static_cast<double>(limits_.time.count())) {
    stopped_ = true;
  }
}

// The moves worth searching, scored for ordering: against an open three (a straight four to
// come) its blocks and the side to move's own fours; else the points within two of a stone that
// make or spoil a two.
int Searcher::GenerateMoves(MoveList& list, int ply, Cell ttMove) const {
  const int us = board_.SideToMove();
  const int them = Opponent(us);
  int count = 0;
  auto add = [&](Cell c) {
    if (!board_.IsLegal(c) || (ply == 0 && excluded_.Has(c))) return;
    int score = kOwnOrder[static_cast<int>(board_.ThreatAt(us, c))] +
                kBlockOrder[static_cast<int>(board_.ThreatAt(them, c))] +
                board_.Value(us, c, kToMove) + board_.Value(them, c, kWaiting) +
                history_[us - 1][c] / 64;
    if (c == ttMove) score += kTtMoveOrder;
    if (c == killers_[ply][0] || c == killers_[ply][1]) score += kKillerOrder;
    list[count++] = {c, score};
  };

  bool threeToAnswer = false;
  board_.Fours(them).ForEach([&](Cell c) {
    threeToAnswer = threeToAnswer || board_.ThreatAt(them, c) == Threat::kFlexFour;
  });
  if (threeToAnswer) {
    CellSet answers = board_.Fours(them);
    board_.Fours(us).ForEach([&](Cell c) { answers.Add(c); });
    answers.ForEach(add);
    return count;
  }
  if (board_.MoveCount() == 0) {
    add(CellAt({kBoardSize / 2, kBoardSize / 2}));
    return count;
  }
  // Points that make or spoil at least a two somewhere; all near points when none does.
  auto counts = [&](Cell c) {
    for (int dir = 0; dir < 4; ++dir) {
      if (board_.LineAt(us, c, dir) >= kTwo || board_.LineAt(them, c, dir) >= kTwo) return true;
    }
    return false;
  };
  for (Cell c = 0; c < kCells; ++c) {
    if (board_.Empty(c) && board_.Neighbours(c) > 0 && counts(c)) add(c);
  }
  if (count == 0) {
    for (Cell c = 0; c < kCells; ++c) {
      if (board_.Empty(c) && board_.Neighbours(c) > 0) add(c);
    }
  }
  return count;
}

void Searcher::UpdatePv(int ply, Cell move) {
  pv_[ply][ply] = move;
  for (int k = ply + 1; k < pvLength_[ply + 1]; ++k)
    pv_[ply][k] = pv_[ply + 1][k];
  pvLength_[ply] = std::max(pvLength_[ply + 1], ply + 1);
}

int PliesToGlancedWin(const PatternBoard& board) {
  const int us = board.SideToMove();
  bool flexFour = false;
  bool fourThree = false;
  board.Fours(us).ForEach([&](Cell c) {
    const Threat threat = board.ThreatAt(us, c);
    if (threat < Threat::kFourThree || !board.IsLegal(c)) return;
    (threat == Threat::kFlexFour ? flexFour : fourThree) = true;
  });
  if (flexFour) return 3;
  if (fourThree && board.Fours(Opponent(us)).Empty()) return 5;
  return 0;
}

// The score of a position at the search's horizon: a win seen at a glance, else the evaluation.
// Searching fours to the end here cost more depth than it found wins.
int Searcher::Leaf(int ply) const {
  const int plies = PliesToGlancedWin(board_);
  return plies > 0 ? kWinScore - ply - plies : Evaluate(board_);
}

int Searcher::Node(int alpha, int beta, int depth, int ply, bool pv) {
  // Step 1. The limits, polled now and then.
  pvLength_[ply] = ply;
  if ((++nodes_ & 255) == 0 || ply == 0) Poll();
  if (stopped_) return 0;
  const int us = board_.SideToMove();

  // Step 2. Decided positions: a five to make wins; five points of the opponent's that cannot
  // all be taken lose; a full board is a draw.
  if (!board_.Fives(us).Empty()) return kWinScore - ply - 1;
  bool lost = false;
  const Cell forced = board_.FiveToBlock(lost);
  if (lost) return -(kWinScore - ply - 2);
  if (board_.MoveCount() == kCells) return 0;
  if (ply >= kMaxPly) return Evaluate(board_);

  // Step 3. The transposition table: a deep enough bound outside the window ends the node.
  Cell ttMove = kNoCell;
  if (const TtEntry* entry = tt_.Probe(board_.Hash())) {
    ttMove = entry->move;
    const int score = FromTable(entry->score, ply);
    if (!pv && entry->depth >= depth &&
        (entry->bound == Bound::kExact || (entry->bound == Bound::kLower && score >= beta) ||
         (entry->bound == Bound::kUpper && score <= alpha))) {
      return score;
    }
  }

  // Step 4. The horizon. A forced block is searched past it, as it costs the attack nothing.
  if (depth <= 0 && forced == kNoCell) return Leaf(ply);

  // Step 5. The moves.
  MoveList moves;
  int count = 1;
  if (forced != kNoCell) {
    moves[0] = {forced, 0};
  } else {
    count = GenerateMoves(moves, ply, ttMove);
    if (count == 0) return Evaluate(board_);
  }

  // Step 6. Principal-variation search of each move in order: the first with the full window,
  // the rest with a null window (late quiet ones reduced, or at low depth pruned) and searched
  // again when they beat alpha.
  const int them = Opponent(us);
  const int alphaBefore = alpha;
  int best = -kInfinity;
  Cell bestMove = kNoCell;
  for (int i = 0; i < count; ++i) {
    std::swap(moves[i], *std::max_element(moves.begin() + i, moves.begin() + count,
                                          [](const ScoredMove& a, const ScoredMove& b) {
                                            return a.score < b.score;
                                          }));
    const Cell move = moves[i].cell;
    const bool quiet = IsQuiet(board_.ThreatAt(us, move), board_.ThreatAt(them, move));
    if (!pv && quiet && depth <= 8 && i >= 2 + depth * depth && best > -kWinBound) continue;

    const int newDepth = forced != kNoCell ? depth : depth - 1;
    board_.Play(move);
    int score;
    if (i == 0) {
      score = -Node(-beta, -alpha, newDepth, ply + 1, pv);
    } else {
      int reduction = 0;
      if (depth >= 2 && i >= 2)
        reduction = quiet ? Reductions()[std::min(depth, kReductionDepths - 1)][i] : i >= 4;
      score = -Node(-alpha - 1, -alpha, newDepth - reduction, ply + 1, false);
      if (score > alpha && reduction > 0) {
        score = -Node(-alpha - 1, -alpha, newDepth, ply + 1, false);
      }
      if (score > alpha && score < beta) score = -Node(-beta, -alpha, newDepth, ply + 1, true);
    }
    board_.Undo();
    if (stopped_) return 0;

    if (score > best) {
      best = score;
      bestMove = move;
    }
    if (score > alpha) {
      alpha = score;
      if (pv) UpdatePv(ply, move);
      if (alpha >= beta) {
        if (quiet && killers_[ply][0] != move) {
          killers_[ply][1] = killers_[ply][0];
          killers_[ply][0] = move;
        }
        history_[us - 1][move] += depth * depth;
        break;
      }
    }
  }

  // Step 7. What the node learned, for the table.
  const Bound bound = best >= beta               ? Bound::kLower
                      : best > alphaBefore && pv ? Bound::kExact
                                                 : Bound::kUpper;
  tt_.Store(board_.Hash(), ToTable(best, ply), bestMove, depth, bound);
  return best;
}

SearchReport Searcher::Search(std::span<const Point> moves, const Limits& limits,
                              const std::atomic<bool>* stop,
                              const std::function<void(const SearchReport&)>& onIteration) {
  board_ = PatternBoard(&DefaultWeights());
  for (const Point p : moves)
    board_.Play(CellAt(p));
  limits_ = limits;
  stop_ = stop;
  start_ = std::chrono::steady_clock::now();
  nodes_ = 0;
  stopped_ = false;
  tt_.NewSearch();
  killers_ = {};
  for (auto& colour : history_) {
    for (int& h : colour)
      h /= 4;
  }

  SearchReport report;
  auto finish = [&](Cell move, int score) {
    report.move = move;
    report.score = score;
    report.nodes = nodes_;
    report.milliseconds = Elapsed();
    if (report.pv.empty() && move != kNoCell) report.pv = {move};
    return report;
  };

  // The root moves asked to be left out stay out of every step below.
  const CellSet asked = std::exchange(rootExclusions_, CellSet());
  excluded_ = asked;

  // Step 1. A five, or the block of the opponent's: played at once, and nothing else considered.
  const int us = board_.SideToMove();
  if (!board_.Fives(us).Empty()) {
    CellSet fives = board_.Fives(us);
    asked.ForEach([&](Cell c) { fives.Remove(c); });
    return finish(fives.First(), kWinScore - 1);
  }
  bool lost = false;
  const Cell forced = board_.FiveToBlock(lost);
  if (forced != kNoCell && !lost) {
    return finish(asked.Has(forced) ? kNoCell : forced, Evaluate(board_));
  }

  // Step 2. A win by fours, the shortest found, within a share of the nodes or of the time the
  // move should take (at about a million nodes a second, a tenth of it).
  const std::chrono::milliseconds moveTime =
      limits.target.count() > 0 ? std::min(limits.target, limits.time) : limits.time;
  // Under a node limit the solvers here and in step 5 take at most nine sixteenths of it (an
  // eighth each for the win by fours, the opponent's threats with a move in hand and each of
  // the two checks of every root move, a sixteenth for the win by threats), so that the
  // iterations get the rest.
  std::int64_t vcfBudget = 400'000;
  if (limits.nodes > 0) vcfBudget = std::min(vcfBudget, limits.nodes / 8);
  if (moveTime.count() > 0) vcfBudget = std::min<std::int64_t>(vcfBudget, moveTime.count() * 100);
  const Deadline deadline = moveTime.count() > 0 ? start_ + moveTime / 16 : Deadline::max();
  Poll();
  if (!lost && !stopped_ && vcf_.Solve(board_, 60, vcfBudget, deadline) != kNoCell &&
      !asked.Has(vcf_.Line()[0])) {
    nodes_ += vcf_.Nodes();
    report.pv.assign(vcf_.Line().begin(), vcf_.Line().end());
    // The line ends with the four that cannot be stopped: its block and the five are to come.
    return finish(vcf_.Line()[0], kWinScore - static_cast<int>(vcf_.Line().size()) - 2);
  }
  nodes_ += vcf_.Nodes();

  // Step 3. A win by threes and fours, within a like share.
  if (!lost && !stopped_) {
    const Cell first = vct_.Solve(board_, 10, vcfBudget / 2, deadline);
    nodes_ += vct_.Nodes();
    if (first != kNoCell && !asked.Has(first)) return finish(first, kWinBound);
  }

  // Step 4. The root's moves.
  MoveList rootMoves;
  const int rootCount = GenerateMoves(rootMoves, 0, kNoCell);
  if (lost || rootCount == 0) {
    const Cell any = rootCount > 0 ? rootMoves[0].cell : forced;
    return finish(any, -(kWinScore - 2));
  }
  Cell bestMove =
      std::max_element(rootMoves.begin(), rootMoves.begin() + rootCount,
                       [](const ScoredMove& a, const ScoredMove& b) { return a.score < b.score; })
          ->cell;

  // Step 5. Moves after which the opponent wins by threats are left out, unless all are. The
  // opponent's threats are first looked for as if it were to move now: a win it cannot find with
  // a move in hand it will seldom find after one of ours (a stone only blocks the opponent's
  // lines; only a Black stone that makes one of Black's defences forbidden can help it), so each
  // root move is checked only when it finds one. The check has a sixth of the move's time of its
  // own: the solvers above may have spent theirs.
  excluded_ = asked;
  bool threatened = true;
  if (!stopped_) {
    const Deadline passDeadline =
        moveTime.count() > 0 ? std::chrono::steady_clock::now() + moveTime / 12 : Deadline::max();
    board_.SetSideToMove(Opponent(us));
    threatened = vcf_.Solve(board_, 30, vcfBudget / 2, passDeadline) != kNoCell ||
                 vct_.Solve(board_, 10, vcfBudget / 2, passDeadline) != kNoCell;
    nodes_ += vcf_.Nodes() + vct_.Nodes();
    board_.SetSideToMove(us);
  }
  if (!stopped_ && threatened) {
    const std::int64_t perMove =
        std::max<std::int64_t>(vcfBudget / rootCount, limits.nodes > 0 ? 0 : 200);
    const Deadline checkDeadline =
        moveTime.count() > 0 ? std::chrono::steady_clock::now() + moveTime / 6 : Deadline::max();
    int kept = rootCount;
    for (int i = 0; i < rootCount && !stopped_; ++i) {
      const Cell move = rootMoves[i].cell;
      board_.Play(move);
      const bool loses = vcf_.Solve(board_, 30, perMove, checkDeadline) != kNoCell ||
                         vct_.Solve(board_, 10, perMove, checkDeadline) != kNoCell;
      nodes_ += vcf_.Nodes() + vct_.Nodes();
      board_.Undo();
      if (loses) {
        excluded_.Add(move);
        --kept;
      }
      Poll();
    }
    if (kept == 0) excluded_ = asked;
    if (excluded_.Has(bestMove)) bestMove = BestOrdered(rootMoves, rootCount);
  }
  int bestScore = 0;
  // Step 6. Iterative deepening, with aspiration windows. An iteration cut short keeps only its
  // best root move so far, if one beat the last iteration's.
  const int maxDepth = limits.depth > 0 ? std::min(limits.depth, kMaxDepth) : kMaxDepth;
  // The evaluation favours the side to move, so scores of odd and even depths differ: the window
  // is centred on the score of two iterations before, of the same parity.
  std::array<int, kMaxDepth + 1> scores{};
  for (int depth = 1; depth <= maxDepth; ++depth) {
    int delta = 40;
    int alpha = -kInfinity;
    int beta = kInfinity;
    const int expected = depth >= 3 ? scores[depth - 2] : bestScore;
    if (depth >= 5 && !IsDecisive(expected) && !IsDecisive(bestScore)) {
      alpha = expected - delta;
      beta = expected + delta;
    }
    int score = 0;
    while (true) {
      score = Node(alpha, beta, depth, 0, true);
      if (stopped_) break;
      if (score <= alpha) {
        alpha = std::max(score - delta, -kInfinity);
      } else if (score >= beta) {
        beta = std::min(score + delta, kInfinity);
      } else {
        break;
      }
      delta *= 3;
    }
    // A stopped iteration still tells of a root move that beat all those searched before it,
    // the last iteration's first among them; its score is left alone.
    if (stopped_ && depth > 1) {
      if (pvLength_[0] > 0) {
        bestMove = pv_[0][0];
        report.pv.assign(pv_[0].begin(), pv_[0].begin() + pvLength_[0]);
      }
      break;
    }
    if (pvLength_[0] > 0) {
      bestMove = pv_[0][0];
      bestScore = score;
      report.pv.assign(pv_[0].begin(), pv_[0].begin() + pvLength_[0]);
    }
    scores[depth] = bestScore;
    report.depth = depth;
    if (stopped_) break;
    finish(bestMove, bestScore);
    if (onIteration) onIteration(report);
    // A proven result does not change with depth; nor is a deeper iteration likely to end
    // within the time once half of it has gone.
    if (IsDecisive(bestScore) && kWinScore - std::abs(bestScore) <= depth) break;
    const auto target = limits.target.count() > 0 ? limits.target : limits.time;
    if (target.count() > 0 && Elapsed() > 0.7 * static_cast<double>(target.count())) break;
  }
  return finish(bestMove, bestScore);
}

// The root move first in order among those not left out.
Cell Searcher::BestOrdered(const MoveList& moves, int count) const {
  Cell best = kNoCell;
  int bestOrder = 0;
  for (int i = 0; i < count; ++i) {
    const ScoredMove& m = moves[i];
    if (excluded_.Has(m.cell) || (best != kNoCell && m.score <= bestOrder)) continue;
    best = m.cell;
    bestOrder = m.score;
  }
  return best != kNoCell ? best : moves[0].cell;
}

}  // namespace zel::ab
