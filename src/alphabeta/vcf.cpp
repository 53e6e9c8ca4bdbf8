#include "alphabeta/vcf.h"

#include <bit>

namespace zel::ab {

VcfSolver::VcfSolver(std::size_t tableBytes) {
  const std::size_t entries = std::bit_floor(std::max<std::size_t>(tableBytes / sizeof(Entry), 1));
  table_.resize(entries);
  mask_ = entries - 1;
}

void VcfSolver::Clear() {
  std::fill(table_.begin(), table_.end(), Entry{});
}

Cell VcfSolver::Solve(PatternBoard& board, int maxFours, std::int64_t nodeLimit,
                      Deadline deadline) {
  nodes_ = 0;
  nodeLimit_ = nodeLimit;
  deadline_ = deadline;
  length_ = 0;
  if (deadline_ != Deadline::max() && std::chrono::steady_clock::now() >= deadline_) return kNoCell;
  // Deepening by one four at a time up to eight finds the shortest of the short wins; beyond,
  // the bound grows by half at a time, so that a long win costs few repeated searches. The table
  // keeps what failed before.
  for (int fours = 1; nodes_ < nodeLimit_; fours = fours < 8 ? fours + 1 : fours * 3 / 2) {
    if (Search(board, std::min(fours, maxFours), 0)) return line_[0];
    if (fours >= maxFours) break;
  }
  return kNoCell;
}

// Counts a node; past the deadline (looked at every 256 nodes), the node limit is the count.
void VcfSolver::Count() {
  if ((++nodes_ & 255) == 0 &&
      (std::chrono::steady_clock::now() >= deadline_ || (stopCheck_ && stopCheck_()))) {
    nodeLimit_ = nodes_;
  }
}

// Whether the side to move wins with at most `fours` fours; on a win the line from `ply` on is
// in line_.
bool VcfSolver::Search(PatternBoard& board, int fours, int ply) {
  Count();
  const int us = board.SideToMove();
  const int them = Opponent(us);
  const CellSet& ownFives = board.Fives(us);
  if (!ownFives.Empty()) {
    line_[ply] = ownFives.First();
    length_ = ply + 1;
    return true;
  }
  if (fours <= 0 || nodes_ >= nodeLimit_) return false;

  // Step 1. A five point of the opponent's must be taken, and only a four there keeps the line.
  const CellSet& theirFives = board.Fives(them);
  CellSet candidates = board.Fours(us);
  if (!theirFives.Empty()) {
    const Cell forced = theirFives.First();
    if (theirFives.Count() > 1 || !candidates.Has(forced)) return false;
    candidates = CellSet();
    candidates.Add(forced);
  }

  // Step 2. Lines already known to fail with at least this many fours.
  Entry& entry = table_[board.Hash() & mask_];
  if (entry.key == board.Hash() && entry.fours >= fours) return false;

  // Step 3. Each four in turn: a straight four, or a block Black may not play, wins at once;
  // otherwise the opponent blocks and the attack goes on.
  bool won = false;
  candidates.ForEach([&](Cell four) {
    if (won || (us == kBlack && board.IsForbiddenForBlack(four))) return;
    board.Play(four);
    const CellSet& fives = board.Fives(us);
    const Cell block = fives.First();
    if (fives.Count() > 1 || (them == kBlack && board.IsForbiddenForBlack(block))) {
      line_[ply] = four;
      length_ = ply + 1;
      won = true;
    } else if (block != kNoCell) {
      board.Play(block);
      won = Search(board, fours - 1, ply + 2);
      board.Undo();
      if (won) {
        line_[ply] = four;
        line_[ply + 1] = block;
      }
    }
    board.Undo();
  });
  if (!won && nodes_ < nodeLimit_) entry = {board.Hash(), fours};
  return won;
}

}  // namespace zel::ab
