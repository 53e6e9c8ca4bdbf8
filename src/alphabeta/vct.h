// Victory by continuous threats (VCT): the side to move makes a four or an open three at every
// move until it wins; the opponent answers a four with its block, and an open three with any of
// the points that stop its straight four or with a four of its own. A win must hold against every
// answer. Wins by fours alone are left to the VCF solver, which this one calls at each of its
// moves.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "alphabeta/board.h"
#include "alphabeta/vcf.h"

namespace zel::ab {

class VctSolver {
 public:
  explicit VctSolver(std::size_t tableBytes = std::size_t{4} << 20);

  // The first move of a win by threats of the side to move, of at most `maxThreats` threats of
  // its own, found within about `nodeLimit` nodes; kNoCell when there is none (or none found).
  // The board is left as it was.
  Cell Solve(PatternBoard& board, int maxThreats, std::int64_t nodeLimit,
             Deadline deadline = Deadline::max());

  std::int64_t Nodes() const { return nodes_; }
  void Clear();
  // Called every 256 nodes; when it answers true the solve ends as if out of nodes.
  void SetStopCheck(const std::function<bool()>& check) {
    stopCheck_ = check;
    vcf_.SetStopCheck(check);
  }

 private:
  struct Entry {
    std::uint64_t key = 0;
    std::int16_t threats = 0;  // proven to this many threats, with the result below
    bool win = false;
  };

  bool Attack(PatternBoard& board, int threats);
  bool Defend(PatternBoard& board, int threats);
  void Count();

  VcfSolver vcf_;
  std::vector<Entry> table_;
  std::uint64_t mask_ = 0;
  int attacker_ = kBlack;
  std::int64_t nodes_ = 0;
  std::int64_t nodeLimit_ = 0;
  Deadline deadline_;
  std::function<bool()> stopCheck_;
};

}  // namespace zel::ab
