// Helpers shared by zel-cli's subcommands.
#pragma once

#include <optional>
#include <string_view>

#include "game/game.h"
#include "game/host.h"

namespace zel::cli {

// The command line has no window: status messages are dropped.
class QuietHost final : public Host {
 public:
  void ShowStatus(std::string_view) override {}
};

// Replays the record file into `game` (a fresh game, both players the user). A file that cannot
// be read prints a one-line error and returns false; a file that stops early on a bad line
// keeps its valid moves and prints a warning.
bool ReplayRecord(std::string_view file, Game& game);

// A decimal integer argument, or nothing.
std::optional<int> ParseInt(std::string_view text);

// Prints "zel-cli: <message>" on stderr and returns kUsageError.
int Fail(std::string_view message);

}  // namespace zel::cli
