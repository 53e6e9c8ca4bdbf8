// The strong engine's search: a win by fours looked for first, then iterative deepening of a
// principal-variation search with aspiration windows over the pattern evaluation, a transposition
// table, threat-driven move generation, killer and history ordering, late-move reductions and
// pruning of quiet moves. Black never plays a point the exact rules forbid.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "alphabeta/board.h"
#include "alphabeta/tt.h"
#include "alphabeta/vcf.h"
#include "alphabeta/vct.h"

namespace zel::ab {

inline constexpr int kMaxPly = 120;
inline constexpr int kWinScore = 30000;
// Scores this close to kWinScore are wins (or, negated, losses) kWinScore - |score| plies away.
inline constexpr int kWinBound = kWinScore - 1000;
constexpr bool IsDecisive(int score) {
  return score >= kWinBound || score <= -kWinBound;
}
// Of a decisive score: the plies to the five, or 0 for a win by threats found at the root, which
// is proven without its length.
constexpr int PliesToFive(int score) {
  const int plies = kWinScore - (score < 0 ? -score : score);
  return plies > kMaxPly ? 0 : plies;
}

// The plies to the five of a win that the side to move's points show at a glance, the search's
// test at its horizon, or 0 for none. A straight four wins in 3 (the block of any four of the
// opponent's comes first, in the search); a four with an open three wins in 5 when the opponent
// has no four to answer the three with.
int PliesToGlancedWin(const PatternBoard& board);

// Where a search stops: whichever limit comes first (0: no such limit). `time` is never run
// past; `target` is the time the move should normally take: no iteration starts once it is likely
// to end beyond it (0: the target is `time`).
struct Limits {
  std::chrono::milliseconds time{0};
  std::chrono::milliseconds target{0};
  int depth = 0;
  std::int64_t nodes = 0;
};

// One finished iteration, or the search's answer: the score is the side to move's.
struct SearchReport {
  Cell move = kNoCell;
  int score = 0;
  int depth = 0;
  std::int64_t nodes = 0;
  double milliseconds = 0;
  std::vector<Cell> pv;
};

class Searcher {
 public:
  explicit Searcher(std::size_t hashBytes = std::size_t{16} << 20);
  // The solvers' stop checks point back at this searcher.
  Searcher(const Searcher&) = delete;
  Searcher& operator=(const Searcher&) = delete;

  void SetHashBytes(std::size_t bytes) { tt_.Resize(bytes); }
  // Forgets what earlier searches learned: the tables and the move history.
  void ClearHash();
  // Called every 256 nodes of a search, on the searching thread: a single-threaded
  // window hands its pending messages on from here.
  void SetPollHook(std::function<void()> hook) { pollHook_ = std::move(hook); }
  // Root moves that the next search leaves out, its wins by fives and threats included (for a
  // list of the best moves, one search per move). The search answers kNoCell when it leaves out
  // every move it would consider.
  void ExcludeRootMoves(const CellSet& moves) { rootExclusions_ = moves; }

  // The best move for the side to move after `moves` (Black first; at most 224 of them, on
  // distinct points): played at once when it wins by fours or is forced, else the deepest
  // completed iteration's. `stop`, when given, is polled and ends the search at once;
  // `onIteration` hears of each completed iteration.
  SearchReport Search(std::span<const Point> moves, const Limits& limits,
                      const std::atomic<bool>* stop = nullptr,
                      const std::function<void(const SearchReport&)>& onIteration = {});

 private:
  struct ScoredMove {
    Cell cell;
    int score;
  };
  using MoveList = std::array<ScoredMove, kCells>;

  int Node(int alpha, int beta, int depth, int ply, bool pv);
  int Leaf(int ply) const;
  int GenerateMoves(MoveList& list, int ply, Cell ttMove) const;
  void Poll();
  double Elapsed() const;
  void UpdatePv(int ply, Cell move);
  Cell BestOrdered(const MoveList& moves, int count) const;

  PatternBoard board_;
  TranspositionTable tt_;
  VcfSolver vcf_;
  VctSolver vct_;
  std::array<std::array<Cell, 2>, kMaxPly + 1> killers_{};
  std::array<std::array<int, kCells>, 2> history_{};
  std::array<std::array<Cell, kMaxPly + 1>, kMaxPly + 1> pv_{};
  std::array<int, kMaxPly + 1> pvLength_{};
  CellSet excluded_;        // root moves after which the opponent wins by threats, and those asked
  CellSet rootExclusions_;  // those asked, for the next search only

  Limits limits_;
  const std::atomic<bool>* stop_ = nullptr;
  std::function<void()> pollHook_;
  std::chrono::steady_clock::time_point start_;
  std::int64_t nodes_ = 0;
  bool stopped_ = false;
};

}  // namespace zel::ab
