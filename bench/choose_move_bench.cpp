// The one-ply move choice on mid-game positions, as the search calls it at its first plies.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "game/game.h"

namespace zel {
namespace {

// Games played by the move choice itself from seeded generators, stopped after 20 to 50
// stones: the engine state of each, with the side to move.
std::vector<EngineState> MidGameStates() {
  std::vector<EngineState> states;
  HeadlessHost host;
  for (int game = 0; game < 16; ++game) {
    Game g(host);
    g.SeedRandom(static_cast<std::uint32_t>(1000 + game));
    const int stones = 20 + 2 * game;
    while (g.moveCount() < stones) {
      const MoveChoice choice = g.ChooseMove();
      if (!choice.point || g.Play(*choice.point) != PlayResult::kPlayed) break;
    }
    states.push_back(g.engine());
  }
  return states;
}

void BM_ChooseMove(benchmark::State& state) {
  std::vector<EngineState> states = MidGameStates();
  ScoreTable scores;
  size_t i = 0;
  for (auto _ : state) {
    EngineState& engine = states[i++ % states.size()];
    const int colour = engine.moveCount % 2 == 0 ? kBlack : kWhite;
    const MoveChoice choice = ChooseMove(engine, colour, engine.position, scores);
    benchmark::DoNotOptimize(choice.point);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ChooseMove)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zel
