// pbrain-zel's time and memory: what a move may take under the manager's clocks, and how large the
// strong engine's hash table may grow under its memory limit.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "game/game.h"
#include "patterns/board.h"

namespace zel {

// A time value beyond this many milliseconds (about eleven days) counts as this many.
inline constexpr std::int64_t kLongestTime = 1'000'000'000;

// The time limits the manager set, in milliseconds.
struct TimeLimits {
  std::int64_t turn = 5000;          // per move; 0 plays at once
  std::int64_t match = 0;            // the whole match; 0 no limit
  std::optional<std::int64_t> left;  // what is left of the match
};

// How much a position asks of the clock: a quiet one its share, a sharp one (an open three on the
// board, either side's) more, a forced one (a five of the opponent's to block) little.
enum class Tension { kQuiet, kSharp, kForced };

Tension TensionOf(const Position& position, int toMove);

// The time a move may take under the manager's limits, with `stones` on the board: the hard limit
// is never run past, and the soft one is what the move should normally take. A margin for the
// process and the pipe comes off every limit; what is left of the match is shared among the moves
// estimated to come, and one move takes at most three shares of it. A sharp position's soft limit
// is two shares, a forced one's (and its hard limit) a quarter of one.
MoveBudget BudgetFor(const TimeLimits& limits, int stones, Tension tension = Tension::kQuiet);

// Under a match clock a move whose hard limit is below this plays the one-ply choice: a search
// takes about 10 ms whatever its limit, which would run a nearly spent clock out.
inline constexpr std::chrono::milliseconds kLeastSearch{25};

// The strong engine's hash table under INFO max_memory (bytes; 0 or less: the engine's default):
// what is left after the engine's fixed memory, within a ceiling.
std::size_t HashBytesFor(std::int64_t maxMemory);

// The engine's own table size, and the largest worth its allocation.
inline constexpr std::size_t kDefaultHashBytes = std::size_t{16} << 20;
inline constexpr std::uint64_t kMaxHashBytes = std::uint64_t{256} << 20;

}  // namespace zel
