// The computer's side of an opening, on the strong engine's evaluation: which opening to place,
// whether to swap, where to put a stone that a swap may follow, how many 5th moves to declare,
// which 5th moves to offer and which offered one to keep.
//
// A position's worth is the strong engine's score for Black after a short search. A stone that
// the opponent may answer by swapping aims at balance (the score nearest 0); a swap takes the
// colour the score favours. Offered 5th moves are the best for Black, one from each class of
// symmetrical points, so that White's best choice among them is still Black's best possible
// (the worst of the offered ones is as good as it can be); White keeps the one worst for Black.
// The declarer of Soosõrv-8 faces a swap, so it declares the number whose worst offered move is
// nearest balance.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "files/opening_log.h"
#include "openings/opening.h"
#include "search/random.h"

namespace zel::ab {
class Searcher;
struct Limits;
}  // namespace zel::ab

namespace zel::openings {

// What one decision may spend, shared among the positions it weighs: nodes, time, or both (the
// first reached ends a search), and never less than a short search (256 nodes, 1 ms) for each.
// Tests give nodes, so that a decision is the same on every run.
struct DecisionBudget {
  std::int64_t nodes = 0;
  std::chrono::milliseconds time{0};
};

// The openings the computer places when it chooses freely: those whose published evaluations
// come nearest an even game (a swap follows them).
inline constexpr std::string_view kBalancedOpenings[] = {"3D", "11D", "1I", "5I", "11I"};

class OpeningComputer {
 public:
  // The seed varies the opening placed among the balanced ones.
  OpeningComputer(DecisionBudget budget, std::uint32_t seed);
  ~OpeningComputer();
  OpeningComputer(const OpeningComputer&) = delete;
  OpeningComputer& operator=(const OpeningComputer&) = delete;

  // Called at the searches' polls: a window pumps its messages there, so that it repaints while
  // the computer weighs a decision.
  void SetPollHook(std::function<void()> hook);

  // The step the computer takes where the opening waits for one; always valid for it.
  OpeningStep Decide(const Opening& opening);

  // A 5th move with its score for Black; not known when the search ended before its first
  // iteration (in the root's threat checks), and then 0.
  struct Scored {
    Point point;
    int score;
    bool known;
  };
  // The 5th moves worth considering after these four stones, one from each class of
  // symmetrical points (at least `atLeast` of them), best for Black first, those of unknown
  // score last.
  std::vector<Scored> FifthMoves(std::span<const Point> stones, size_t atLeast) {
    return StonesWithin(stones, atLeast, kBoardSize);
  }
  // The same for a stone within the central `area` x `area` square.
  std::vector<Scored> StonesWithin(std::span<const Point> stones, size_t atLeast, int area);

 private:
  // The limits of one of `shares` searches that share the budget.
  ab::Limits Share(int shares) const;
  // The score for Black of the position after these moves, on a share of the budget; nothing
  // when the search ended before its first iteration.
  std::optional<int> BlackScore(std::span<const Point> moves, int shares);
  Point OpeningStone(std::span<const Point> stones);
  Point BalancedStone(std::span<const Point> stones, int area);

  DecisionBudget budget_;
  Random random_;
  std::unique_ptr<ab::Searcher> searcher_;
};

}  // namespace zel::openings
