// The pattern engine's hot path: the update after a stone and the segment evaluator.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "patterns/segment.h"
#include "patterns/update.h"

namespace zel {
namespace {

// Mid-game positions (30 to 60 stones) from seeded random games, each with an empty point to
// play next.
struct Sample {
  Position pos;
  Point next;
  int colour;
};

std::vector<Sample> MidGameSamples() {
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> coord(0, kBoardSize - 1);
  std::vector<Sample> samples;
  for (int game = 0; game < 64; ++game) {
    Position pos;
    const int stones = 30 + game % 31;
    for (int k = 0; k <= stones;) {
      const Point p{coord(rng), coord(rng)};
      if (pos.board[p.row][p.col] > 0) continue;
      const int colour = k % 2 == 0 ? kBlack : kWhite;
      if (k == stones) {
        samples.push_back({pos, p, colour});
      } else {
        UpdatePatterns(pos, p.row, p.col, colour);
      }
      ++k;
    }
  }
  return samples;
}

void BM_UpdatePatternsPlaceAndRemove(benchmark::State& state) {
  std::vector<Sample> samples = MidGameSamples();
  size_t i = 0;
  for (auto _ : state) {
    Sample& s = samples[i++ % samples.size()];
    UpdatePatterns(s.pos, s.next.row, s.next.col, s.colour);
    UpdatePatterns(s.pos, s.next.row, s.next.col, 0);
    benchmark::DoNotOptimize(s.pos.board);
  }
  // Two updates per iteration.
  state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_UpdatePatternsPlaceAndRemove);

void BM_EvaluateSegment(benchmark::State& state) {
  // Fifteen-cell segments with a few stones, as the middle game has them.
  std::mt19937 rng(99);
  std::vector<std::vector<int>> segments(256, std::vector<int>(kMaxSegment));
  for (auto& segment : segments) {
    for (int& cell : segment)
      cell = rng() % 3 == 0 ? 1 : 0;
  }
  std::vector<int> codes(kMaxSegment);
  size_t i = 0;
  for (auto _ : state) {
    const auto& segment = segments[i++ % segments.size()];
    EvaluateSegment(segment, (i & 1) != 0 ? kBlack : kWhite, codes);
    benchmark::DoNotOptimize(codes.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateSegment);

}  // namespace
}  // namespace zel
