// zel-cli selfplay N [--seed S] [--level L]: the computer plays itself through the game's own turn
// control, checking after every move that the game's state is sound.
// zel-cli selfplay N --opening RULE [--seed S] [--time MS | --nodes N]: the strong engine plays
// itself under a tournament opening rule, one line a step, so that a script can check each:
//   game 1 / place h8 / ... / opening 3D / swap no / declare 3 / offer ... / choose ...
//   moves h8 h9 ... / result black
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "alphabeta/search.h"
#include "cli/commands.h"
#include "cli/replay.h"
#include "files/move_text.h"
#include "files/opening_log.h"
#include "game/game.h"
#include "openings/computer.h"
#include "openings/names.h"
#include "openings/opening.h"
#include "rules/renju_rules.h"
#include "search/random.h"

namespace zel::cli {
namespace {

constexpr std::string_view kUsage =
    "usage: zel-cli selfplay N [--seed S] [--level L | --opening RULE [--time MS | --nodes N]]";

// Under an opening rule, each move's budget unless told, and an opening decision's: it weighs
// several positions.
constexpr int kDefaultMoveMs = 200;
constexpr int kDecisionMoves = 4;

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

// Whether the stone just played at p makes five or more in a row of its colour.
bool MakesFive(const Board& board, Point p) {
  const int colour = board[p.row][p.col];
  for (int d = 0; d < kDirections; ++d) {
    int run = 1;
    for (const int sign : {-1, 1}) {
      for (Point q{p.row + sign * kRowStep[d], p.col + sign * kColStep[d]};
           OnBoard(q) && board[q.row][q.col] == colour;
           q = {q.row + sign * kRowStep[d], q.col + sign * kColStep[d]})
        ++run;
    }
    if (run >= 5) return true;
  }
  return false;
}

// One game under an opening rule: the opening's steps, then the game to its end, each line as
// the file's head describes; false when a step is refused (which the computer never should).
bool PlayOpeningGame(int number, openings::Rule rule, const openings::DecisionBudget& budget,
                     std::uint32_t seed, ab::Searcher& searcher) {
  std::printf("game %d\n", number);
  openings::OpeningComputer computer({budget.nodes * kDecisionMoves, budget.time * kDecisionMoves},
                                     seed);
  openings::Opening opening(rule);
  while (!opening.Done()) {
    const OpeningStep step = computer.Decide(opening);
    if (const std::optional<std::string> refused = opening.Apply(step)) {
      std::fprintf(stderr, "zel-cli: game %d: %s: %s\n", number, FormatOpeningStep(step).c_str(),
                   refused->c_str());
      return false;
    }
    std::printf("%s\n", FormatOpeningStep(step).c_str());
    if (step.kind == OpeningStepKind::kPlace && opening.Stones().size() == 3) {
      const std::optional<openings::OpeningName> name = openings::NameOf(opening.Stones());
      std::printf("opening %s\n", name ? std::string(name->code).c_str() : "none");
    }
    std::fflush(stdout);
  }

  // The game goes on under the Renju rules: a Black five (exactly five) or a White five wins, a
  // full board is a draw.
  std::vector<Point> moves(opening.Stones().begin(), opening.Stones().end());
  Board board = openings::StonesBoard(moves);
  std::string_view result = "draw";
  while (moves.size() < static_cast<size_t>(kBoardSize * kBoardSize)) {
    const ab::SearchReport report = searcher.Search(moves, {budget.time, {}, 0, budget.nodes});
    if (report.move == ab::kNoCell) break;
    const Point p = ab::PointOf(report.move);
    const bool black = moves.size() % 2 == 0;
    const Verdict verdict = black ? JudgeBlackMove(board, p) : Verdict::kLegal;
    moves.push_back(p);
    board[p.row][p.col] = static_cast<BoardValue>(black ? kBlack : kWhite);
    if (IsForbidden(verdict)) {
      std::fprintf(stderr, "zel-cli: game %d: Black played a forbidden point\n", number);
      return false;
    }
    if (verdict == Verdict::kFive || (!black && MakesFive(board, p))) {
      result = black ? "black" : "white";
      break;
    }
  }
  std::printf("moves %s\nresult %.*s\n", FormatMoves(moves).c_str(),
              static_cast<int>(result.size()), result.data());
  std::fflush(stdout);
  return true;
}

}  // namespace

int RunSelfPlay(Args args) {
  if (args.empty()) return Fail(kUsage);
  const std::optional<int> games = ParseInt(args[0]);
  if (!games || *games < 1) return Fail(kUsage);
  int seed = 1;
  SearchSettings settings;
  std::optional<openings::Rule> rule;
  bool level = false;
  openings::DecisionBudget budget;
  for (size_t i = 1; i < args.size(); i += 2) {
    if (args[i] == "--opening" && i + 1 < args.size()) {
      rule = openings::RuleFromName(args[i + 1]);
      if (!rule) return Fail(kUsage);
      continue;
    }
    const std::optional<int> value = i + 1 < args.size() ? ParseInt(args[i + 1]) : std::nullopt;
    if (!value) return Fail(kUsage);
    if (args[i] == "--time" && *value > 0 && budget.nodes == 0) {
      budget.time = std::chrono::milliseconds(*value);
    } else if (args[i] == "--nodes" && *value > 0 && budget.time.count() == 0) {
      budget.nodes = *value;
    } else if (args[i] == "--seed") {
      seed = *value;
    } else if (args[i] == "--level") {
      settings.searchLevel = *value;
      level = true;
      if (!settings.WithinDepthBound()) return Fail(kUsage);
    } else {
      return Fail(kUsage);
    }
  }

  Random random(static_cast<std::uint32_t>(seed));
  const bool budgetGiven = budget.nodes > 0 || budget.time.count() > 0;
  if (rule) {
    if (level) return Fail(kUsage);
    if (!budgetGiven) budget.time = std::chrono::milliseconds(kDefaultMoveMs);
    ab::Searcher searcher;
    for (int number = 1; number <= *games; ++number) {
      if (!PlayOpeningGame(number, *rule, budget, static_cast<std::uint32_t>(random.Next()),
                           searcher))
        return 1;
    }
    return 0;
  }
  if (budgetGiven) return Fail(kUsage);
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
