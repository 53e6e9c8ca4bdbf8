// The game as the window drives it, through a host that records what it shows.
#include "game/game.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "alphabeta/search.h"
#include "files/move_text.h"
#include "files/record.h"
#include "game/live_analysis.h"
#include "support/positions.h"
#include "support/recording_host.h"
#include "support/run_cli.h"

namespace zel {
namespace {

using namespace std::chrono_literals;
using test::Rif;
using Strings = std::vector<std::string>;

constexpr const char* kMiddleGame = "g6 g7 h7 h5 h8 i7 j10 i9 j8 j7";  // searched past depth 6

class GameTest : public ::testing::Test {
 protected:
  GameTest() { game_.SeedRandom(1); }
  // Clicks the centres of cells in board notation.
  void Click(std::string_view cells) {
    for (const Point p : Rif(cells))
      game_.TakeTurn(26 + 19 * p.col, 26 + 19 * p.row);
  }
  std::vector<Point> Moves() const { return {game_.Moves().begin(), game_.Moves().end()}; }
  // A search stopped from the window (closing) plays the one-ply choice, and leaves no result.
  void ExpectStopPlaysTheOnePlyChoice() {
    game_.LoadMoves(Rif(kMiddleGame));
    const MoveChoice choice = game_.ChooseMove();
    host_.onPump = [&] { game_.StopThinking(); };
    game_.RequestMove();
    EXPECT_EQ(Moves().back(), choice.point);
    EXPECT_EQ(game_.searchResult(), SearchResult{});
  }

  std::filesystem::path dir_ =
      test::ScratchDir("game_" + std::to_string(getpid()) +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  test::RecordingHost host_;
  Game game_{host_, dir_ / "move.txt"};
};

// Kinjite is announced and the stone placed; a five is a win, only that, and ends the turn: no
// reply. White plays there without a word; clicks beside the grid or on a stone do nothing.
TEST_F(GameTest, KinjiteAndFives) {
  game_.SetPlayers(kMan, kComputer);
  game_.LoadMoves(Rif("f8 a15 g8 d15 h10 g15 h9 j15"));  // h8: a double three
  Click("h8");
  EXPECT_EQ(host_.messages, Strings{std::string(kKinjite)});
  EXPECT_EQ(game_.moveCount(), 10);
  game_.LoadMoves(Rif("d8 a15 e8 d15 f8 g15 g8 j15 h10 m15 h9 a1 f10 d1 g9 g1"));  // h8: and five
  Click("h8");
  EXPECT_EQ(host_.messages, (Strings{std::string(kKinjite), std::string(kBlackWon)}));
  EXPECT_EQ(game_.moveCount(), 17);
  game_.SetPlayers(kMan, kMan);
  game_.LoadMoves(Rif("f8 a15 g8 d15 h10 g15 h9"));
  game_.TakeTurn(400, 100);
  Click("h8 h8");
  EXPECT_EQ(game_.position().board[7][7], kWhite);
  EXPECT_EQ(game_.moveCount(), 8);
  EXPECT_EQ(host_.messages.size(), 2U);
}

// The record is written whenever a stone brings the count to a multiple of 4: after the
// computer's reply when it plays White, before it when it plays Black.
TEST_F(GameTest, RecordWrittenAtEveryFourthStone) {
  for (const auto& [black, white, expected] :
       {std::tuple{kMan, kMan, std::vector{-1, -1, -1, 4}},
        std::tuple{kMan, kComputer, std::vector{-1, 4, 4, 8}},
        std::tuple{kComputer, kMan, std::vector{-1, 4, 4, 8}}}) {
    std::filesystem::remove(dir_ / "move.txt");
    game_.SetPlayers(black, white);
    std::vector<int> saved;
    for (const char* cell : {"a1", "o1", "a15", "o15"}) {
      Click(cell);
      // The record's lines, less its empty last line: -1 when there is none.
      saved.push_back(
          static_cast<int>(std::ranges::count(test::ReadFile(dir_ / "move.txt"), '\n')) - 1);
    }
    EXPECT_EQ(saved, expected) << black << white;
  }
}

// Space takes back, 'n' replays the move list's next entry; not with a computer player.
TEST_F(GameTest, TakeBackAndReplayKeys) {
  Click("h8 h9 i8 i9 j8");
  const std::vector<Point> five = Moves();
  for (const char key : {' ', ' ', 'n'})
    game_.OnChar(key);
  EXPECT_EQ(Moves(), std::vector<Point>(five.begin(), five.begin() + 4));
  for (const char key : {'n', 'n', 'N'})  // the sixth entry was never written
    game_.OnChar(key);
  EXPECT_EQ(Moves(), five);
  game_.SetPlayers(kMan, kComputer);
  Click("a1");
  game_.OnChar(' ');
  EXPECT_EQ(game_.moveCount(), 2);
}

// The navigation keys, each step with the move count it leads to (-1: refused), between two people
// and against the computer as either colour: the computer never replies to a step, no step writes
// the record, and a new stone after a take-back cuts the line unless it is the line's next move.
TEST_F(GameTest, NavigationKeys) {
  using enum Step;
  const struct {
    char black, white;
    std::vector<std::pair<Step, int>> steps;
  } cases[] = {
      {kMan,
       kMan,
       {{kBack, 3},
        {kBack, 2},
        {kForward, 3},
        {kEnd, 4},
        {kForward, -1},
        {kHome, 0},
        {kBack, -1},
        {kHome, -1},
        {kForward, 1},
        {kEnd, 4}}},
      {kMan,
       kComputer,
       {{kBack, 2}, {kBack, 0}, {kBack, -1}, {kForward, 2}, {kEnd, 4}, {kHome, 0}, {kForward, 2}}},
      {kComputer,
       kMan,
       {{kBack, 3}, {kBack, 1}, {kBack, -1}, {kHome, -1}, {kForward, 3}, {kEnd, 5}, {kHome, 1}}},
  };
  for (const auto& [black, white, steps] : cases) {
    game_.SetPlayers(black, white);
    Click(black == white ? "a1 o15 a15 o13" : "a1 a15");
    const std::vector<Point> line = Moves();
    const std::string record = test::ReadFile(dir_ / "move.txt");
    for (const auto& [step, count] : steps) {
      EXPECT_EQ(game_.Navigate(step) ? game_.moveCount() : -1, count) << black << white;
      EXPECT_EQ(Moves(), std::vector<Point>(line.begin(), line.begin() + game_.moveCount()));
    }
    EXPECT_EQ(test::ReadFile(dir_ / "move.txt"), record);
    EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);
    // The line's next move keeps the line; another stone cuts it (the computer replying to it).
    game_.Navigate(kEnd);
    game_.Navigate(kBack);
    if (black == white) {
      Click("o13");
      EXPECT_EQ(std::vector<Point>(game_.Line().begin(), game_.Line().end()), line);
      game_.Navigate(kBack);
    }
    const size_t cut = game_.Moves().size();
    Click("o1");
    EXPECT_EQ(std::vector<Point>(game_.Line().begin(), game_.Line().end()), Moves());
    EXPECT_EQ(Moves().size(), black == white ? 4 : line.size());
    EXPECT_EQ(Moves()[cut], Rif("o1")[0]);
    EXPECT_FALSE(game_.Navigate(kForward));
  }
}

// The five the last move made, end to end: in each direction, White's longer line, none for
// Black's six or for a five the last move is not in.
TEST_F(GameTest, WinningFive) {
  const std::pair<const char*, const char*> games[] = {
      {"h8 a1 i8 a2 j8 a3 k8 a4 l8", "h8 i8 j8 k8 l8"},
      {"a1 h8 a3 h9 a5 h11 a7 h12 a9 h10", "h12 h11 h10 h9 h8"},
      {"a1 k5 a3 j6 a5 g9 a7 f10 b1 l4 a11 h8 a13 i7", "f10 g9 h8 i7 j6 k5 l4"},
      {"a1 o11 a3 n12 a5 l14 a7 k15 a9 m13", "k15 l14 m13 n12 o11"},
      {"h8 a1 i8 a2 j8 a3 k8 a4 m8 a5 l8", ""},
      {"h8 a1 i8 a3 j8 a5 k8 a7 l8 o15", ""},
  };
  for (const auto& [moves, five] : games) {
    game_.LoadMoves(Rif(moves));
    EXPECT_EQ(game_.WinningFive(), Rif(five)) << moves;
  }
}

// .psq files are saved and opened back; a file that holds no sound game or cannot be read leaves
// the game as it was and says why.
TEST_F(GameTest, PsqFiles) {
  game_.LoadMoves(Rif("h8 i9 j10"));
  host_.answers = {dir_ / "game.psq", dir_ / "game.psq", dir_ / "bad.psq", dir_ / "none.psq"};
  game_.SavePsqCommand();
  game_.LoadMoves(Rif("a1"));
  game_.OpenPsqCommand();
  EXPECT_EQ(Moves(), Rif("h8 i9 j10"));
  test::WriteFile(dir_ / "bad.psq", "Piskvorky 15x15, 11:11, 0\n8,8,0\n8,8,0\n");
  game_.OpenPsqCommand();
  game_.OpenPsqCommand();
  EXPECT_EQ(Moves(), Rif("h8 i9 j10"));
  EXPECT_EQ(host_.statuses.end()[-2], "Cannot load bad.psq: move 2 (8,8,0) is on a stone");
  EXPECT_TRUE(host_.statuses.back().starts_with("Cannot load none.psq: ")) << host_.statuses.back();
}

// A hint is the strong engine's point for the side to move, shown and kept until a stone changes
// the position; it plays nothing, and the reply's result stays.
TEST_F(GameTest, Hint) {
  game_.LoadMoves(Rif("a1 h8 a3 i8 a5 j8 o15 k8 o1"));  // White's open four: a five at g8 or l8
  game_.RequestMove();
  const SearchResult reply = game_.searchResult();
  game_.LoadMoves(Rif("a1 h8 a3 i8 a5 j8 o15 k8 o1"));
  ASSERT_TRUE(game_.SetAdvancedTime(100ms));
  const std::optional<Point> hint = game_.Hint();
  ASSERT_TRUE(hint == Rif("g8")[0] || hint == Rif("l8")[0]);
  EXPECT_EQ(host_.statuses.back(), "Hint: " + std::string(*hint == Rif("g8")[0] ? "g8" : "l8"));
  EXPECT_EQ(game_.moveCount(), 9);
  EXPECT_EQ(game_.searchResult(), reply);
  EXPECT_EQ(game_.hint(), hint);
  Click("o3");
  EXPECT_EQ(game_.hint(), std::nullopt);
}

// Live analysis reports each iteration in the players' terms (a win as the winner's moves to the
// five) from its own thread, and hears nothing more once stopped.
TEST(LiveAnalysisTest, ReportsUntilStopped) {
  const std::tuple<int, bool, std::string> scores[] = {
      {35, true, "35 (Black to move)"},
      {ab::kWinScore - 3, true, "Black wins in 2"},
      {ab::kWinScore - 1, false, "White wins in 1"},
      {4 - ab::kWinScore, true, "White wins in 2"},
      {ab::kWinBound, false, "White wins"},
      {-35, false, "-35 (White to move)"}};
  for (const auto& [score, blackToMove, text] : scores)
    EXPECT_EQ(ScoreText(score, blackToMove), text);
  std::atomic<int> reports = 0;
  std::string first;  // written before the first count, read after it
  LiveAnalysis analysis([&](const AnalysisLine& line) {
    if (reports == 0) first = line.score + " " + line.pv;
    ++reports;
  });
  analysis.Start(Rif("a1 h8 a3 i8 a5 j8 o15 k8 o1"));  // White's open four
  for (int ms = 0; reports == 0 && ms < 10'000; ++ms)
    std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(first == "White wins in 1 g8" || first == "White wins in 1 l8") << first;
  analysis.Start(Rif("h8"));
  analysis.Stop();
  const int stopped = reports;
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(reports, stopped);
}

// "thinking..." and the ready text around the search, the stone's messages, '+' for a proven
// win, which the user's next stone clears.
TEST_F(GameTest, ComputerReply) {
  game_.LoadMoves(Rif("a1 h8 a3 i8 a5 j8 o15 k8 o1"));  // White to move with an open four
  game_.RequestMove();
  EXPECT_EQ(host_.statuses, (Strings{std::string(kGreeting), std::string(kGreeting),
                                     std::string(kThinking), std::string(kReady)}));
  EXPECT_EQ(host_.messages, Strings{std::string(kWhiteWon)});
  EXPECT_EQ(game_.statusMark(), '+');
  Click("o3");
  EXPECT_EQ(game_.statusMark(), ' ');
}

// The one-ply choice plays when the search is stopped from the window (closing) and when it
// answers with a stone: k6, Black's, in lfz084/lfz084.github.io @b15820dbaf5a puzzle/json 白先VCF
// #391 after two moves of its solution.
TEST_F(GameTest, ReplyWithoutTheSearchsPoint) {
  ExpectStopPlaysTheOnePlyChoice();
  host_.onPump = nullptr;
  game_.LoadMoves(
      Rif("f6 g7 f7 h7 g5 h8 g6 i3 h4 j4 i5 j5 i9 j8 j2 j9 j6 k7 k4 l5 k6 l7 k9 m4 l4 "
          "m9 l8 n3 m8 j7 i7"));
  game_.RequestMove();
  EXPECT_EQ(game_.searchResult().point(), Rif("k6")[0]);
  EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);
}

// Input that the window dispatches from inside the search changes nothing and is not kept for
// later: the reply is the one a game without that input makes.
TEST_F(GameTest, InputWhileTheComputerThinksIsDropped) {
  game_.LoadMoves(Rif(kMiddleGame));
  game_.RequestMove();
  const std::vector<Point> reply = Moves();
  game_.SeedRandom(1);
  game_.LoadMoves(Rif(kMiddleGame));
  int accepted = 0;
  host_.onPump = [&] {
    Click("a1");
    game_.RequestMove();
    game_.SetPlayers(kComputer, kComputer);
    accepted += game_.SetSettings(SearchSettings{}) + game_.SelectLevel(3) +
                game_.SetTraceSwitch(true) + game_.SetDisplayMode(1) + game_.TakeBack() +
                (game_.Play({0, 0}) != PlayResult::kBusy) + game_.ReplayNext() +
                game_.Navigate(Step::kBack);
  };
  game_.RequestMove();
  EXPECT_TRUE(host_.pumps > 0 && accepted == 0) << accepted;
  EXPECT_EQ(Moves(), reply);
  EXPECT_EQ(game_.whitePlayer(), kMan);
}

// "Advanced" replies with the strong engine (which keeps no trace) within its thinking time, shown
// as the other levels show theirs; Black never takes its forbidden point. Meanwhile the window's
// messages are pumped and its input dropped; a stop from the window plays the one-ply choice.
TEST_F(GameTest, AdvancedPlaysTheStrongEngine) {
  // The time a move of "Advanced" holds while other levels are chosen, and sets the level's time.
  ASSERT_TRUE(game_.SetAdvancedTime(100ms) && game_.SelectLevel(4) && game_.SelectLevel(5));
  ASSERT_TRUE(game_.strongEngine() && game_.thinkingTime() == 100ms && !game_.SetAdvancedTime(0ms));
  game_.SetTraceSwitch(true);
  game_.LoadMoves(Rif("f8 a15 g8 d15 h10 g15 h9 j15"));  // h8: Black's double three
  int accepted = 0;
  host_.onPump = [&] {
    Click("a1");
    accepted += game_.SelectLevel(0) + game_.SetThinkingTime(10s) + game_.TakeBack();
  };
  const auto start = std::chrono::steady_clock::now();
  game_.RequestMove();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 700ms);
  EXPECT_TRUE(host_.pumps > 0 && accepted == 0) << accepted;
  ASSERT_EQ(game_.moveCount(), 9);
  const Point reply = game_.Move(9);
  EXPECT_NE(reply, Rif("h8")[0]);
  EXPECT_EQ(game_.searchResult().point(), reply);
  EXPECT_GT(game_.searchResult().depth, 0);
  EXPECT_EQ(game_.traceCount(), 0);
  EXPECT_EQ(host_.statuses, (Strings{std::string(kGreeting), std::string(kGreeting),
                                     std::string(kThinking), std::string(kReady)}));
  EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);
  // A win found marks the stone.
  host_.onPump = nullptr;
  game_.LoadMoves(Rif("a1 h8 a3 i8 a5 j8 o15 k8 o1"));
  game_.RequestMove();
  EXPECT_EQ(host_.messages, Strings{std::string(kWhiteWon)});
  EXPECT_EQ(game_.statusMark(), '+');
  ExpectStopPlaysTheOnePlyChoice();
}

// A failed autosave is reported in the status bar, a failed save in a message box; a record that
// cannot be read leaves the game, a damaged one loads its valid prefix.
TEST_F(GameTest, RecordAndTraceFiles) {
  std::filesystem::remove_all(dir_);
  Click("h8 h9 i8 i9");
  EXPECT_EQ(host_.statuses.back(), "Cannot save move.txt: No such file or directory");
  game_.SaveRecordCommand();
  EXPECT_EQ(host_.messages, Strings{host_.statuses.back()});
  game_.LoadRecordCommand();
  EXPECT_EQ(game_.moveCount(), 4);
  EXPECT_EQ(host_.statuses.back(), "Cannot load move.txt: cannot read: No such file or directory");
  std::filesystem::create_directory(dir_);
  test::WriteFile(dir_ / "move.txt", FormatMoveLine(1, {7, 7}) + FormatMoveLine(3, {0, 0}));
  game_.LoadRecordCommand();
  EXPECT_EQ(Moves(), Rif("h8"));
  EXPECT_EQ(host_.statuses.back(),
            "move.txt: line 2: move number 3 where 2 was expected; "
            "loading stops there, after 1 move");
  // The trace: the last search's nodes at their own index, saved whole or short, loaded for 'n'.
  game_.SetTraceSwitch(true);
  game_.LoadMoves(Rif(kMiddleGame));
  game_.RequestMove();
  const std::span<const TraceEntry> trace = game_.traceEntries();
  ASSERT_EQ(static_cast<int>(trace.size()), game_.traceCount());
  EXPECT_EQ(trace[0].depth, 1);
  EXPECT_TRUE(std::ranges::all_of(trace, [](const TraceEntry& e) { return e.depth > 0; }));
  host_.answers = {dir_ / "full.txt", dir_ / "short.txt"};
  for (const bool brief : {false, true, false})  // the third is cancelled
    game_.SaveTraceCommand(brief);
  EXPECT_EQ(test::ReadFile(dir_ / "full.txt"), FormatTrace(game_.Moves(), trace, false));
  EXPECT_EQ(test::ReadFile(dir_ / "short.txt"), FormatTrace(game_.Moves(), trace, true));
  host_.answers = {dir_ / "full.txt"};
  game_.LoadTraceCommand();
  EXPECT_EQ(game_.moveCount(), 10);
  game_.OnChar('n');
  EXPECT_EQ(game_.moveCount(), 11);
}

// Play refuses points off the board and on stones, not marks; taking back every stone, corners
// included, and replaying keep a sound state.
TEST_F(GameTest, PlayTakeBackAndReplay) {
  game_.LoadMoves(Rif("f8 a15 g8 d15 h10 m1 h9 o1 a1 o15"));
  for (const Point p : {Point{-1, 7}, Point{7, 15}, kNoPoint, Rif("f8")[0], Rif("a15")[0]})
    EXPECT_NE(game_.Play(p), PlayResult::kPlayed);
  EXPECT_EQ(game_.Play(Rif("h8")[0]), PlayResult::kPlayed);  // Black's forbidden point
  while (game_.TakeBack()) {
  }
  EXPECT_EQ(game_.position().board, Position().board);
  EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);  // the corners' short diagonals included
  while (game_.ReplayNext()) {
  }
  EXPECT_EQ(game_.moveCount(), 11);
  EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);
  game_.NewGame();  // which keeps the move list for 'n'
  game_.OnChar('n');
  EXPECT_EQ(Moves(), Rif("f8"));
}

// Levels deepen by 2 from the first (12 through move 9) to the last, or to a win, or until the
// time is up; the thought and trace are then those of the last level that ended.
TEST_F(GameTest, DeepeningLevels) {
  SearchSettings settings = game_.settings();
  settings.randomChoice = false;  // the same answer for the same level, however reached
  game_.SetSettings(settings);
  game_.SetTraceSwitch(true);
  Thought thought;
  std::vector<TraceEntry> trace;
  const auto Levels = [&](const char* moves, MoveBudget budget, int first, int last) {
    game_.LoadMoves(Rif(moves));
    std::vector<int> levels;
    thought = game_.ThinkWithin(budget, first, last,
                                [&](const LevelReport& report) { levels.push_back(report.level); });
    trace.assign(game_.traceEntries().begin(), game_.traceEntries().end());
    return levels;
  };
  const auto SearchedAt = [&](int level) {  // the thought and trace are this level's own
    settings.searchLevel = level;
    game_.SetSettings(settings);
    const Thought direct = game_.Think();
    return *direct.result == *thought.result && direct.nodes == thought.nodes &&
           std::ranges::equal(trace, game_.traceEntries());
  };
  EXPECT_EQ(Levels("h8 h9 i8 g8 i9 i10 j10 k11 g10 j8", {60s, 60s}, 4, 9), (std::vector{4, 6, 8}));
  EXPECT_EQ(game_.settings().searchLevel, 10);
  EXPECT_TRUE(SearchedAt(8));
  const char* nine = "h8 a1 c3 o15 m13 a15 o1 c13 m3";
  EXPECT_EQ(Levels(nine, {60s, 60s}, 4, 14), (std::vector{12, 14}));
  EXPECT_EQ(Levels(nine, {60s, 60s}, 10, 10), (std::vector{12}));  // a level below the floor
  EXPECT_EQ(Levels("d8 a1 e8 a3 f8 a5 g8 a7", {60s, 60s}, 4, 20), (std::vector{12}));
  EXPECT_EQ(thought.result->value, 3);  // Black's open four
  EXPECT_TRUE(Levels("", {0ms, 0ms}, 4, 20).empty() && thought.stopped);
  const std::vector<int> levels = Levels("h8 h7 j8 g8 i6 i7 j7 k8 j6 j9 j5 j4 l6 m6 l7 k6 k7",
                                         {200ms, 60s}, 4, kMaxSearchLevel);
  ASSERT_GE(levels.size(), 2U);
  ASSERT_FALSE(thought.stopped);
  EXPECT_TRUE(SearchedAt(levels[levels.size() - 2]));
  // A level item sets its search level and thinking time and keeps the other settings.
  for (int i = 0; i < static_cast<int>(kLevelItems.size()); ++i) {
    ASSERT_TRUE(game_.SelectLevel(i));
    EXPECT_EQ(game_.settings().searchLevel, kLevelItems[i].searchLevel);
    EXPECT_EQ(game_.thinkingTime(), kLevelItems[i].thinkingTime);
    EXPECT_FALSE(game_.settings().randomChoice);
  }
  EXPECT_FALSE(game_.SelectLevel(-1) || game_.SelectLevel(static_cast<int>(kLevelItems.size())));
}
}  // namespace
// The computer as the second player of RIF on a small budget: it keeps White after h8 h9 j10,
// plays the 4th, keeps one of the user's two 5th moves and plays on. After h8 i9 h10 it swaps:
// the colours change hands, it offers as Black, the user keeps one and the game goes on with the
// computer Black. A record loaded takes up its opening log; moving back stops at the opening.
TEST_F(GameTest, OpeningAgainstTheComputer) {
  using Kind = OpeningStepKind;
  game_.SetOpeningBudget({4000, {}});
  game_.SetPlayers(kMan, kComputer);
  game_.SetOpeningRule(openings::Rule::kRif);
  Click("h8 h9 j10 j8 k12");
  std::vector<Kind> kinds;
  for (const OpeningStep& step : game_.opening()->Steps())
    kinds.push_back(step.kind);
  EXPECT_EQ(kinds, (std::vector{Kind::kPlace, Kind::kPlace, Kind::kPlace, Kind::kSwap, Kind::kPlace,
                                Kind::kOffer, Kind::kChoose}));
  EXPECT_EQ(game_.opening()->Steps()[3].number, 0);
  EXPECT_TRUE(game_.Move(5) == Rif("j8")[0] || game_.Move(5) == Rif("k12")[0]);
  EXPECT_EQ(game_.moveCount(), 6);  // the computer's 6th
  game_.SaveRecordCommand();
  game_.LoadMoves(Rif("h8"));
  game_.LoadRecordCommand();
  ASSERT_NE(game_.opening(), nullptr);
  EXPECT_EQ(game_.opening()->Steps().size(), 7u);
  EXPECT_FALSE(game_.Navigate(Step::kBack));  // the user's turn before lies in the opening

  game_.NewGameCommand();
  Click("h8 i9 h10");
  EXPECT_EQ(game_.opening()->Steps()[3].number, 1);
  EXPECT_EQ(std::pair(game_.blackPlayer(), game_.whitePlayer()), std::pair(kComputer, kMan));
  Click("g9");
  ASSERT_EQ(game_.OfferedMoves().size(), 2u);
  const Point kept = game_.OfferedMoves()[1];
  Click(FormatMoves(std::span(&kept, 1)) + " a1");
  EXPECT_EQ(game_.Move(5), kept);
  EXPECT_FALSE(game_.InOpening());
  EXPECT_EQ(game_.moveCount(), 7);           // the computer's reply to the user's 6th
  EXPECT_TRUE(game_.Navigate(Step::kBack));  // to the 6th, not into the opening
  EXPECT_FALSE(game_.Navigate(Step::kBack));
}

}  // namespace zel
