// The trace file at the size of a long search's listing: half a million nodes after a game of
// 60 moves, formatted, read back, and saved and loaded through a file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "files/trace.h"

namespace zel {
namespace {

constexpr int kNodes = 500'000;

std::vector<Point> GameMoves() {
  std::vector<Point> moves;
  for (int k = 0; k < 60; ++k)
    moves.push_back({k / kBoardSize, (k * 4) % kBoardSize});
  return moves;
}

// Nodes at depths 1 to 12, as a deep search visits them, with values of both signs.
std::vector<TraceEntry> Nodes() {
  std::vector<TraceEntry> nodes;
  nodes.reserve(kNodes);
  for (int i = 0; i < kNodes; ++i) {
    nodes.push_back({static_cast<std::uint8_t>(1 + i % 12), static_cast<std::uint8_t>(i % 15),
                     static_cast<std::uint8_t>(i / 15 % 15),
                     static_cast<std::int8_t>(i % 61 - 30)});
  }
  return nodes;
}

void BM_FormatTrace(benchmark::State& state) {
  const std::vector<Point> moves = GameMoves();
  const std::vector<TraceEntry> nodes = Nodes();
  const bool shortTrace = state.range(0) != 0;
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = FormatTrace(moves, nodes, shortTrace);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_FormatTrace)->Arg(0)->Arg(1)->ArgName("short")->Unit(benchmark::kMillisecond);

void BM_ParseTrace(benchmark::State& state) {
  const std::string text = FormatTrace(GameMoves(), Nodes(), false);
  for (auto _ : state) {
    const RecordLoad load = ParseTrace(text);
    benchmark::DoNotOptimize(load.moves.data());
  }
}
BENCHMARK(BM_ParseTrace)->Unit(benchmark::kMicrosecond);

// SaveTrace syncs the file to the disk: the figure depends on the file system of the temporary
// directory.
void BM_SaveAndLoadTrace(benchmark::State& state) {
  const std::vector<Point> moves = GameMoves();
  const std::vector<TraceEntry> nodes = Nodes();
  const auto dir =
      std::filesystem::temp_directory_path() / ("zel_trace_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const auto path = dir / "trace.txt";
  for (auto _ : state) {
    if (SaveTrace(path, moves, nodes, false)) {
      state.SkipWithError("SaveTrace failed");
      break;
    }
    const RecordLoad load = LoadTrace(path);
    if (load.moves.size() != moves.size()) {
      state.SkipWithError("LoadTrace did not read the moves back");
      break;
    }
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveAndLoadTrace)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel
