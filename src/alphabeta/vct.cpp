#include "alphabeta/vct.h"

#include <algorithm>
#include <bit>

namespace zel::ab {

VctSolver::VctSolver(std::size_t tableBytes) : vcf_(std::size_t{1} << 20) {
  const std::size_t entries = std::bit_floor(std::max<std::size_t>(tableBytes / sizeof(Entry), 1));
  table_.resize(entries);
  mask_ = entries - 1;
}

void VctSolver::Clear() {
  std::fill(table_.begin(), table_.end(), Entry{});
  vcf_.Clear();
}

Cell VctSolver::Solve(PatternBoard& board, int maxThreats, std::int64_t nodeLimit,
                      Deadline deadline) {
  attacker_ = board.SideToMove();
  nodes_ = 0;
  nodeLimit_ = nodeLimit;
  deadline_ = deadline;
  if (deadline_ != Deadline::max() && std::chrono::steady_clock::now() >= deadline_) return kNoCell;
  // Deepening finds short wins first; what the table proved carries over.
  for (int threats = 1; threats <= maxThreats && nodes_ < nodeLimit_; ++threats) {
    Cell first = kNoCell;
    const CellSet& own = board.Fives(attacker_);
    if (!own.Empty()) return own.First();
    bool lost = false;
    const Cell block = board.FiveToBlock(lost);
    if (lost) return kNoCell;
    CellSet candidates = board.Fours(attacker_);
    board.Threes(attacker_).ForEach([&](Cell c) { candidates.Add(c); });
    if (block != kNoCell) {
      candidates = CellSet();
      candidates.Add(block);
    }
    candidates.ForEach([&](Cell c) {
      if (first != kNoCell || nodes_ >= nodeLimit_ || !board.IsLegal(c)) return;
      board.Play(c);
      if (Defend(board, threats - 1)) first = c;
      board.Undo();
    });
    if (first != kNoCell) return first;
  }
  return kNoCell;
}

// Counts a node; past the deadline (looked at every 256 nodes), the node limit is the count.
void VctSolver::Count() {
  if ((++nodes_ & 255) == 0 &&
      (std::chrono::steady_clock::now() >= deadline_ || (stopCheck_ && stopCheck_()))) {
    nodeLimit_ = nodes_;
  }
}

// The attacker to move: a win with at most `threats` more threats?
bool VctSolver::Attack(PatternBoard& board, int threats) {
  Count();
  if (!board.Fives(attacker_).Empty()) return true;
  bool lost = false;
  const Cell block = board.FiveToBlock(lost);
  if (lost) return false;
  if (block != kNoCell) {
    // The defender's four: the block comes first, and the defender is to move again.
    board.Play(block);
    const bool won = Defend(board, threats);
    board.Undo();
    return won;
  }
  if (threats <= 0 || nodes_ >= nodeLimit_) return false;

  Entry& entry = table_[board.Hash() & mask_];
  if (entry.key == board.Hash() && (entry.win || entry.threats >= threats)) return entry.win;

  // Step 1. A win by fours alone.
  bool won = vcf_.Solve(board, threats, std::min<std::int64_t>(2000, nodeLimit_ - nodes_),
                        deadline_) != kNoCell;
  nodes_ += vcf_.Nodes();
  // Step 2. Every four and open three in turn, against every answer.
  if (!won && threats > 1) {
    CellSet candidates = board.Fours(attacker_);
    board.Threes(attacker_).ForEach([&](Cell c) { candidates.Add(c); });
    candidates.ForEach([&](Cell c) {
      if (won || nodes_ >= nodeLimit_ || !board.IsLegal(c)) return;
      board.Play(c);
      won = Defend(board, threats - 1);
      board.Undo();
    });
  }
  if (won || nodes_ < nodeLimit_) entry = {board.Hash(), static_cast<std::int16_t>(threats), won};
  return won;
}

// The defender to move after a threat: does the attack hold against every answer?
bool VctSolver::Defend(PatternBoard& board, int threats) {
  Count();
  const int defender = board.SideToMove();
  if (!board.Fives(defender).Empty()) return false;
  bool lost = false;
  const Cell block = board.FiveToBlock(lost);
  if (lost) return true;
  if (block != kNoCell) {
    board.Play(block);
    const bool won = Attack(board, threats);
    board.Undo();
    return won;
  }
  // An open three: its straight-four points, the points that leave it a mere four, and the
  // defender's own fours. Without one, the threat was no threat.
  CellSet answers;
  bool straightFour = false;
  board.Fours(attacker_).ForEach([&](Cell c) {
    answers.Add(c);
    straightFour = straightFour || board.ThreatAt(attacker_, c) == Threat::kFlexFour;
  });
  if (!straightFour) return false;
  board.Fours(defender).ForEach([&](Cell c) { answers.Add(c); });
  bool held = true;
  answers.ForEach([&](Cell c) {
    if (!held || !board.IsLegal(c)) return;
    board.Play(c);
    held = Attack(board, threats);
    board.Undo();
  });
  return held && nodes_ < nodeLimit_;
}

}  // namespace zel::ab
