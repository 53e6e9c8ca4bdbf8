// zel-cli selfplay N [--seed S] [--level L]: the computer plays itself through the game's own turn
// control, checking after every move that the game's state is sound.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/replay.h"
#include "game/game.h"
#include "search/random.h"

namespace zel::cli {
namespace {

constexpr std::string_view kUsage = "usage: zel-cli selfplay N [--seed S] [--level L]";

// The games open with two to four stones drawn in the 5 x 5 square around the centre.
constexpr int kOpeningArea = 5;
constexpr int kOpeningLow = 7 - kOpeningArea / 2;

// Counts the messages the game shows about its stones: "Kinjite !" for each Black move that the
// rules forbid.
class Referee final : public HeadlessHost {
 public:
  void ShowMessage(std::string_view text) override {
    if (text == kBlackWon) winner = kBlack;
    if (text == kWhiteWon) winner = kWhite;
    if (text == kKinjite) ++forbidden;
  }
  int winner = 0;
  int forbidden = 0;
};

struct Totals {
  int games = 0;
  int results[3] = {};  // full board, Black's five, White's five
  int marked = 0;       // Black's moves onto points the engine marks
  int forbidden = 0;    // Black's moves the rules forbid
  long moves = 0;
  double totalMs = 0;
  double slowestMs = 0;
};

// One game; false when its state broke.
bool PlayGame(int number, Random& random, const SearchSettings& settings, Totals& totals) {
  Referee referee;
  Game game(referee, {});  // no record file
  game.SeedRandom(static_cast<std::uint32_t>(random.Next()));
  SearchSettings s = game.settings();
  s.searchLevel = settings.searchLevel;
  game.SetSettings(s);

  for (int opening = 2 + random.Next() % 3; game.moveCount() < opening;) {
    const Point p{kOpeningLow + random.Next() % kOpeningArea,
                  kOpeningLow + random.Next() % kOpeningArea};
    (void)game.Play(p);  // a point drawn twice is drawn again
  }
  double slowest = 0;
  int marked = 0;
  while (referee.winner == 0 && game.moveCount() < kMaxMoves) {
    const int before = game.moveCount();
    const bool black = game.SideToMove() == kBlack;
    const Board board = game.position().board;
    const auto start = std::chrono::steady_clock::now();
    game.RequestMove();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (const std::optional<std::string> broken = game.BrokenInvariant()) {
      std::fprintf(stderr, "zel-cli: game %d, move %d: %s\n", number, game.moveCount(),
                   broken->c_str());
      return false;
    }
    if (game.moveCount() != before + 1) {
      std::fprintf(stderr, "zel-cli: game %d, move %d: the computer did not move\n", number,
                   before + 1);
      return false;
    }
    const Point p = game.Move(game.moveCount());
    if (black && board[p.row][p.col] < 0) ++marked;
    totals.totalMs += ms;
    ++totals.moves;
    slowest = std::max(slowest, ms);
  }
  static constexpr const char* kResult[] = {"full board", "black five", "white five"};
  std::printf(
      "game %d: %d moves, %s, black moves on marked points %d, forbidden %d, slowest %.1f ms\n",
      number, game.moveCount(), kResult[referee.winner], marked, referee.forbidden, slowest);
  ++totals.games;
  ++totals.results[referee.winner];
  totals.marked += marked;
  totals.forbidden += referee.forbidden;
  totals.slowestMs = std::max(totals.slowestMs, slowest);
  return true;
}

}  // namespace

int RunSelfPlay(Args args) {
  if (args.empty()) return Fail(kUsage);
  const std::optional<int> games = ParseInt(args[0]);
  if (!games || *games < 1) return Fail(kUsage);
  int seed = 1;
  SearchSettings settings;
  for (size_t i = 1; i < args.size(); i += 2) {
    const std::optional<int> value = i + 1 < args.size() ? ParseInt(args[i + 1]) : std::nullopt;
    if (!value) return Fail(kUsage);
    if (args[i] == "--seed") {
      seed = *value;
    } else if (args[i] == "--level") {
      settings.searchLevel = *value;
      if (!settings.WithinDepthBound()) return Fail(kUsage);
    } else {
      return Fail(kUsage);
    }
  }

  Random random(static_cast<std::uint32_t>(seed));
  Totals totals;
  for (int number = 1; number <= *games; ++number) {
    if (!PlayGame(number, random, settings, totals)) return 1;
  }
  std::printf(
      "%d games: %d black fives, %d white fives, %d full boards; black moves on marked points "
      "%d, forbidden %d\n%ld computer moves: average %.2f ms, slowest %.1f ms\n",
      totals.games, totals.results[kBlack], totals.results[kWhite], totals.results[0],
      totals.marked, totals.forbidden, totals.moves,
      totals.moves > 0 ? totals.totalMs / static_cast<double>(totals.moves) : 0.0,
      totals.slowestMs);
  return 0;
}

}  // namespace zel::cli
