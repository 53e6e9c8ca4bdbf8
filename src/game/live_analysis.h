// Live analysis: the strong engine searching a copy of a position on a thread of its own, with
// its own tables, reporting every completed iteration until it is stopped or given another
// position. The caller's thread never waits for a search, only for a stop, which is prompt.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "patterns/board.h"

namespace zel {

namespace ab {
class Searcher;
}

// One iteration's report, in the players' terms.
struct AnalysisLine {
  std::string score;  // "35" for the side to move, or "Black wins in 3" / "White wins in 3"
  int depth = 0;
  std::int64_t nodesPerSecond = 0;
  std::string pv;                // in board notation: "h8 i9 j10"
  std::vector<Point> variation;  // the same moves as points, in the order of play
  std::vector<Point> position;   // the moves of the position analysed, which the report is of
};

// The score text of a search score for the side to move: the number and who is to move ("35
// (Black to move)"), or the winner and its moves to the five ("White wins in 2"; "White wins"
// when the win is proven without its length).
std::string ScoreText(int score, bool blackToMove);

class LiveAnalysis {
 public:
  // Hears of each iteration, on the analysis thread.
  using Listener = std::function<void(const AnalysisLine&)>;

  explicit LiveAnalysis(Listener listener);
  ~LiveAnalysis();
  LiveAnalysis(const LiveAnalysis&) = delete;
  LiveAnalysis& operator=(const LiveAnalysis&) = delete;

  // Analyses the position after these moves, ending the analysis before it. A full board has
  // nothing to analyse.
  void Start(std::vector<Point> moves);
  // Ends the analysis, if any, and waits for its thread.
  void Stop();
  bool running() const { return worker_.joinable(); }

 private:
  Listener listener_;
  std::unique_ptr<ab::Searcher> searcher_;
  std::atomic<bool> stop_ = false;
  std::thread worker_;
};

}  // namespace zel
