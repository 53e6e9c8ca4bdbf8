// zel-cli analyse FILE [--time MS | --depth D | --nodes N]: the strong engine's analysis of the
// position, one line per completed iteration, then the answer one field per line:
//   depth 4 score 31 nodes 5120 ms 3.1 pv h9 i10 g8
//   best h9
//   score 31                  ("win in 5" / "loss in 4": plies to the five; "win" alone
//                             for a win by threats proven without its length)
//   pv h9 i10 g8
//   depth 4
//   nodes 5120
//   ms 3.1
#include <chrono>
#include <cstdio>
#include <string>

#include "alphabeta/search.h"
#include "cli/commands.h"
#include "cli/replay.h"

namespace zel::cli {
namespace {

// A point in the usual notation: its column's letter, then its row from the bottom.
std::string Notation(ab::Cell c) {
  const Point p = ab::PointOf(c);
  char text[16];
  std::snprintf(text, sizeof text, "%c%d", 'a' + p.col, kBoardSize - p.row);
  return text;
}

std::string Line(const std::vector<ab::Cell>& pv) {
  std::string text;
  for (const ab::Cell c : pv) {
    if (!text.empty()) text.push_back(' ');
    text.append(Notation(c));
  }
  return text;
}

// "win in N" / "loss in N" (N plies to the five), "win" / "loss" when the length is unknown, or
// the evaluation.
std::string ScoreText(int score) {
  const int plies = ab::PliesToFive(score);
  const std::string distance = plies == 0 ? "" : " in " + std::to_string(plies);
  if (score >= ab::kWinBound) return "win" + distance;
  if (score <= -ab::kWinBound) return "loss" + distance;
  return std::to_string(score);
}

}  // namespace

int RunAnalyse(Args args) {
  const std::string kUsage = "usage: zel-cli analyse FILE [--time MS | --depth D | --nodes N]";
  if (args.empty()) return Fail(kUsage);
  ab::Limits limits;
  for (size_t i = 1; i < args.size(); i += 2) {
    const std::optional<int> value = i + 1 < args.size() ? ParseInt(args[i + 1]) : std::nullopt;
    if (!value || *value <= 0) return Fail(kUsage);
    if (args[i] == "--time") {
      limits.time = std::chrono::milliseconds(*value);
    } else if (args[i] == "--depth") {
      limits.depth = *value;
    } else if (args[i] == "--nodes") {
      limits.nodes = *value;
    } else {
      return Fail(kUsage);
    }
  }
  if (limits.time.count() == 0 && limits.depth == 0 && limits.nodes == 0) {
    limits.time = std::chrono::milliseconds(1000);
  }

  HeadlessHost host;
  Game game(host);
  if (!ReplayRecord(args[0], game)) return kUsageError;
  if (game.moveCount() >= kBoardSize * kBoardSize) {
    std::printf("none\n");
    return 0;
  }
  ab::Searcher searcher;
  const ab::SearchReport report =
      searcher.Search(game.Moves(), limits, nullptr, [](const ab::SearchReport& r) {
        std::printf("depth %d score %s nodes %lld ms %.1f pv %s\n", r.depth,
                    ScoreText(r.score).c_str(), static_cast<long long>(r.nodes), r.milliseconds,
                    Line(r.pv).c_str());
        std::fflush(stdout);
      });
  if (report.move == ab::kNoCell) {
    std::printf("none\n");
    return 0;
  }
  std::printf("best %s\nscore %s\npv %s\ndepth %d\nnodes %lld\nms %.1f\n",
              Notation(report.move).c_str(), ScoreText(report.score).c_str(),
              Line(report.pv).c_str(), report.depth, static_cast<long long>(report.nodes),
              report.milliseconds);
  return 0;
}

}  // namespace zel::cli
