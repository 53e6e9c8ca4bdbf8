#include "game/live_analysis.h"

#include "alphabeta/search.h"
#include "files/move_text.h"

namespace zel {

std::string ScoreText(int score, bool blackToMove) {
  if (!ab::IsDecisive(score)) {
    return std::to_string(score) + (blackToMove ? " (Black to move)" : " (White to move)");
  }
  const bool blackWins = (score > 0) == blackToMove;
  const std::string winner = blackWins ? "Black wins" : "White wins";
  const int plies = ab::PliesToFive(score);
  if (plies == 0) return winner;
  return winner + " in " + std::to_string((plies + 1) / 2);
}

LiveAnalysis::LiveAnalysis(Listener listener) : listener_(std::move(listener)) {}

LiveAnalysis::~LiveAnalysis() {
  Stop();
}

void LiveAnalysis::Start(std::vector<Point> moves) {
  Stop();
  if (moves.size() >= kBoardSize * kBoardSize - 1) return;
  if (!searcher_) searcher_ = std::make_unique<ab::Searcher>();
  stop_ = false;
  worker_ = std::thread([this, moves = std::move(moves)] {
    const bool blackToMove = moves.size() % 2 == 0;
    const auto report = [&](const ab::SearchReport& result) {
      std::vector<Point> pv;
      for (const ab::Cell cell : result.pv)
        pv.push_back(ab::PointOf(cell));
      if (pv.empty() && result.move != ab::kNoCell) pv.push_back(ab::PointOf(result.move));
      const double seconds = result.milliseconds / 1000;
      listener_(
          {ScoreText(result.score, blackToMove), result.depth,
           seconds > 0 ? static_cast<std::int64_t>(static_cast<double>(result.nodes) / seconds) : 0,
           FormatMoves(pv), pv, moves});
    };
    // No limit: the search runs until it is stopped or has nothing left to deepen. An answer
    // found without iterations (a win by fours, a forced move) is reported as one.
    const ab::SearchReport result = searcher_->Search(moves, {}, &stop_, report);
    if (!stop_ && result.move != ab::kNoCell) report(result);
  });
}

void LiveAnalysis::Stop() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

}  // namespace zel
