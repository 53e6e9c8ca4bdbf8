// Victory by continuous fours (VCF): the side to move makes a four at every move, the opponent
// blocks the one point it must, until a five, a straight four (or for White two fours at once),
// or a White four whose block is forbidden to Black. The opponent's own fours count: one that
// the attacker does not answer with a four of its own ends the line.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "alphabeta/board.h"

namespace zel::ab {

using Deadline = std::chrono::steady_clock::time_point;

class VcfSolver {
 public:
  // A solver whose table of lines known to fail holds about `tableBytes` bytes.
  explicit VcfSolver(std::size_t tableBytes = 1 << 20);

  // The shortest win by fours of the side to move, of at most `maxFours` fours of its own, found
  // within about `nodeLimit` nodes: its first move, or kNoCell. The board is left as it was.
  Cell Solve(PatternBoard& board, int maxFours, std::int64_t nodeLimit = 1'000'000,
             Deadline deadline = Deadline::max());

  // The winning line of the last Solve that found one: the attacker's and the defender's moves
  // in turn, ending with the attacker's four that cannot be stopped (or its five, when the
  // position already had a four of its own).
  std::span<const Cell> Line() const { return {line_.data(), static_cast<std::size_t>(length_)}; }
  std::int64_t Nodes() const { return nodes_; }
  void Clear();
  // Called every 256 nodes; when it answers true the solve ends as if out of nodes.
  void SetStopCheck(std::function<bool()> check) { stopCheck_ = std::move(check); }

 private:
  struct Entry {
    std::uint64_t key = 0;
    std::int32_t fours = -1;  // no win of at most this many fours
  };

  bool Search(PatternBoard& board, int fours, int ply);
  void Count();

  std::vector<Entry> table_;
  std::uint64_t mask_ = 0;
  std::array<Cell, kCells + 1> line_{};
  int length_ = 0;
  std::int64_t nodes_ = 0;
  std::int64_t nodeLimit_ = 0;
  Deadline deadline_;
  std::function<bool()> stopCheck_;
};

}  // namespace zel::ab
