// zel-cli bench: searches a fixed set of positions at the default settings and prints, for each,
// "name row col value depth nodes ms". The total node count is the search's signature: any
// change to what the search does changes it. `bench --strong` does the same for the strong
// engine at a fixed depth: "name row col score depth nodes ms".
#include <chrono>
#include <cstdio>

#include "alphabeta/search.h"
#include "cli/bench_positions.h"
#include "cli/commands.h"
#include "cli/replay.h"

namespace zel::cli {

namespace {

constexpr int kStrongBenchDepth = 4;

void PrintTotals(std::int64_t nodes, double ms) {
  std::printf("Total nodes %lld\nTotal ms %.1f\nNodes/second %.0f\n", static_cast<long long>(nodes),
              ms, ms > 0 ? 1000.0 * static_cast<double>(nodes) / ms : 0.0);
}

int RunStrongBench() {
  std::int64_t totalNodes = 0;
  double totalMs = 0;
  for (const BenchPosition& position : BenchPositions()) {
    const std::optional<std::vector<Point>> moves = ParseMoves(position.moves);
    if (!moves) return Fail("bad bench position " + std::string(position.name));
    // A fresh engine each time, so that every position's count stands on its own.
    ab::Searcher searcher(std::size_t{4} << 20);
    const ab::SearchReport r = searcher.Search(*moves, {.depth = kStrongBenchDepth});
    const Point p = r.move == ab::kNoCell ? kNoPoint : ab::PointOf(r.move);
    std::printf("%.*s %d %d %d %d %lld %.1f\n", static_cast<int>(position.name.size()),
                position.name.data(), p.row, p.col, r.score, r.depth,
                static_cast<long long>(r.nodes), r.milliseconds);
    totalNodes += r.nodes;
    totalMs += r.milliseconds;
  }
  PrintTotals(totalNodes, totalMs);
  return 0;
}

}  // namespace

int RunBench(Args args) {
  if (args.size() == 1 && args[0] == "--strong") return RunStrongBench();
  if (!args.empty()) return Fail("usage: zel-cli bench [--strong]");
  std::int64_t totalNodes = 0;
  double totalMs = 0;
  for (const BenchPosition& position : BenchPositions()) {
    HeadlessHost host;
    Game game(host);
    const std::optional<std::vector<Point>> moves = ParseMoves(position.moves);
    if (!moves) return Fail("bad bench position " + std::string(position.name));
    game.LoadMoves(*moves);
    game.SeedRandom(1);

    const auto start = std::chrono::steady_clock::now();
    const Thought thought = game.Think();
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    const SearchResult r = thought.result.value_or(SearchResult{-1, -1, 0, 0});
    std::printf("%.*s %d %d %d %d %lld %.1f\n", static_cast<int>(position.name.size()),
                position.name.data(), r.row, r.col, r.value, r.depth,
                static_cast<long long>(thought.nodes), elapsed.count());
    totalNodes += thought.nodes;
    totalMs += elapsed.count();
  }
  PrintTotals(totalNodes, totalMs);
  return 0;
}

}  // namespace zel::cli
