// zel-cli choose FILE [--seed N]: the one-ply move choice for the side to move.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/replay.h"

namespace zel::cli {

int RunChoose(Args args) {
  static constexpr std::string_view kUsage = "usage: zel-cli choose FILE [--seed N]";
  std::optional<std::string_view> file;
  std::optional<int> seed;
  for (size_t k = 0; k < args.size(); ++k) {
    if (args[k] == "--seed") {
      if (seed || k + 1 == args.size()) return Fail(kUsage);
      seed = ParseInt(args[++k]);
      if (!seed || *seed < 0) {
        return Fail("--seed needs a number from 0 to 2147483647, not '" + std::string(args[k]) +
                    "'");
      }
    } else if (file || args[k].starts_with("-")) {
      return Fail(kUsage);
    } else {
      file = args[k];
    }
  }
  if (!file) return Fail(kUsage);

  HeadlessHost host;
  Game game(host);  // seeds the generator from the clock
  if (!ReplayRecord(*file, game)) return kUsageError;
  if (seed) game.SeedRandom(static_cast<std::uint32_t>(*seed));

  const MoveChoice choice = game.ChooseMove();
  if (!choice.point) {
    std::printf("none\n");
    return 0;
  }
  std::printf("%d %d\n", choice.point->row, choice.point->col);
  // An opening rule chooses without ranking and leaves both counts unwritten.
  if (choice.count == 0) {
    std::printf("- -\n");
  } else {
    std::printf("%d %d\n", choice.count, choice.topCount);
  }
  return 0;
}

}  // namespace zel::cli
