#include "brain/budget.h"

#include <algorithm>

#include "patterns/line_codes.h"

namespace zel {

namespace {

using std::chrono::milliseconds;

// The match clock: the moves a side is expected to play in a game, the fewest still counted as
// to come, and the most shares of what is left that one move may take; a sharp position's soft
// limit in shares, and the part of one share that a forced move takes.
constexpr std::int64_t kExpectedMoves = 35;
constexpr std::int64_t kFewestMovesToCome = 12;
constexpr std::int64_t kLongestMove = 3;
constexpr std::int64_t kSharpShares = 2;
constexpr std::int64_t kForcedPart = 4;

// The memory beside the strong engine's table: the process, the game, the solvers' tables and
// the search's arrays (about 11 MB resident after a few searches, with a margin).
constexpr std::uint64_t kFixedMemory = std::uint64_t{20} << 20;

bool Makes(const Position& position, int colour, int row, int col, int code) {
  const PatternEntry codes = position.Entry(colour, row, col);
  return std::find(codes.begin(), codes.begin() + kDirections, code) != codes.begin() + kDirections;
}

}  // namespace

Tension TensionOf(const Position& position, int toMove) {
  bool sharp = false;
  for (int row = 0; row < kBoardSize; ++row) {
    for (int col = 0; col < kBoardSize; ++col) {
      if (position.board[row][col] > 0) continue;
      if (Makes(position, Opponent(toMove), row, col, kFive)) return Tension::kForced;
      sharp = sharp || Makes(position, kBlack, row, col, kStraightFour) ||
              Makes(position, kWhite, row, col, kStraightFour);
    }
  }
  return sharp ? Tension::kSharp : Tension::kQuiet;
}

MoveBudget BudgetFor(const TimeLimits& limits, int stones, Tension tension) {
  // 30 ms and a twentieth are kept for starting the clock late, the answer's way to the manager
  // and the clock's coarseness.
  const auto usable = [](std::int64_t ms) {
    ms = std::clamp<std::int64_t>(ms, 0, kLongestTime);
    return std::max<std::int64_t>(0, ms - ms / 20 - 30);
  };
  const std::int64_t turn = usable(limits.turn);
  std::int64_t hard = turn;
  std::int64_t soft = turn;
  // Before the first time_left the whole match is left.
  const std::optional<std::int64_t> left = limits.left        ? limits.left
                                           : limits.match > 0 ? std::optional(limits.match)
                                                              : std::nullopt;
  std::int64_t share = turn;
  if (left) {
    // A game runs to about kExpectedMoves moves a side; near its end or past it, the rest is
    // still shared as if kFewestMovesToCome were to come, so that the clock never runs out.
    const std::int64_t movesToCome = std::max(kFewestMovesToCome, kExpectedMoves - stones / 2);
    share = usable(*left) / movesToCome;
    soft = std::min(turn, share);
    hard = std::min(turn, kLongestMove * share);
  }
  if (tension == Tension::kSharp) soft = std::min(hard, kSharpShares * share);
  if (tension == Tension::kForced) hard = soft = std::min(soft, share / kForcedPart);
  return {milliseconds(hard), milliseconds(soft)};
}

std::size_t HashBytesFor(std::int64_t maxMemory) {
  if (maxMemory <= 0) return kDefaultHashBytes;
  const auto bytes = static_cast<std::uint64_t>(maxMemory);
  return bytes <= kFixedMemory ? 0 : std::min<std::uint64_t>(bytes - kFixedMemory, kMaxHashBytes);
}

}  // namespace zel
