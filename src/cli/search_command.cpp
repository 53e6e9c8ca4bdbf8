// zel-cli search FILE [--level L] [--seed N]: the computer's reply for the side to move, found
// exactly as the game finds it, without playing it.
#include <chrono>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/replay.h"

namespace zel::cli {
namespace {

// What a missing or malformed option value reads as.
constexpr int kNotANumber = std::numeric_limits<int>::min();

}  // namespace

int RunSearch(Args args) {
  const std::string kUsage = "usage: zel-cli search FILE [--level L (at most " +
                             std::to_string(kMaxSearchLevel) + ")] [--seed N]";
  if (args.empty()) return Fail(kUsage);
  int level = 10;
  int seed = 1;
  for (size_t i = 1; i < args.size(); i += 2) {
    const int value =
        i + 1 < args.size() ? ParseInt(args[i + 1]).value_or(kNotANumber) : kNotANumber;
    if (value == kNotANumber) return Fail(kUsage);
    if (args[i] == "--level") {
      level = value;
    } else if (args[i] == "--seed") {
      seed = value;
    } else {
      return Fail(kUsage);
    }
  }

  HeadlessHost host;
  Game game(host);
  SearchSettings settings = game.settings();
  settings.searchLevel = level;
  if (!game.SetSettings(settings)) return Fail(kUsage);
  if (!ReplayRecord(args[0], game)) return kUsageError;
  game.SeedRandom(static_cast<std::uint32_t>(seed));

  const auto start = std::chrono::steady_clock::now();
  const Thought thought = game.Think();
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  if (!thought.result) {
    std::printf("none\n");
    return 0;
  }
  const SearchResult& r = *thought.result;
  std::printf("%d %d %d %d\nnodes %lld ms %.1f\n", r.row, r.col, r.value, r.depth,
              static_cast<long long>(thought.nodes), elapsed.count());
  return 0;
}

}  // namespace zel::cli
