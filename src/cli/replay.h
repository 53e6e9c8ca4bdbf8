// Helpers shared by zel-cli's subcommands.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "game/game.h"
#include "game/host.h"

namespace zel::cli {

// Replays the record file into `game` (a fresh game, both players the user). A file that cannot
// be read (missing, unreadable, not a regular file, too large) prints a one-line error naming it
// and returns false. A file that stops early on a bad line keeps its valid moves and prints a
// one-line warning with the line and the reason; so does a file with no move line.
bool ReplayRecord(std::string_view file, Game& game);

// Moves in board notation ("h8 i9 ..."; column letter, row number counted from the bottom),
// or nothing when one is not a point of the board.
std::optional<std::vector<Point>> ParseMoves(std::string_view text);

// A decimal integer argument, or nothing.
std::optional<int> ParseInt(std::string_view text);

// Prints "zel-cli: <message>" on stderr and returns kUsageError.
int Fail(std::string_view message);

}  // namespace zel::cli
