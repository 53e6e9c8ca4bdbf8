// zel-cli bench: searches a fixed set of positions at the default settings and prints, for each,
// "name row col value depth nodes ms". The total node count is the search's signature: any
// change to what the search does changes it.
#include <chrono>
#include <cstdio>

#include "cli/bench_positions.h"
#include "cli/commands.h"
#include "cli/replay.h"

namespace zel::cli {

int RunBench(Args args) {
  if (!args.empty()) return Fail("usage: zel-cli bench");
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
  std::printf("Total nodes %lld\nTotal ms %.1f\nNodes/second %.0f\n",
              static_cast<long long>(totalNodes), totalMs,
              totalMs > 0 ? 1000.0 * static_cast<double>(totalNodes) / totalMs : 0.0);
  return 0;
}

}  // namespace zel::cli
