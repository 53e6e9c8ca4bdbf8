// Turn control through a recording host: clicks, messages, the computer's reply, the record
// written along the way, the take-back keys, and input that arrives while the computer thinks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/record.h"
#include "game/game.h"
#include "support/positions.h"
#include "support/recording_host.h"
#include "support/run_cli.h"

namespace zel {
namespace {

using test::Rif;

// The centre pixel of a cell of the board's picture.
int PixelX(Point p) {
  return 26 + 19 * p.col;
}
int PixelY(Point p) {
  return 26 + 19 * p.row;
}

class TurnTest : public ::testing::Test {
 protected:
  TurnTest()
      : dir_(test::ScratchDir(std::string("turn_") +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name())),
        game_(host_, dir_ / "move.txt") {
    game_.SeedRandom(1);
  }

  // Clicks the cells in board notation, one after the other.
  void Click(std::string_view cells) {
    for (const Point p : Rif(cells))
      game_.TakeTurn(PixelX(p), PixelY(p));
  }
  // The moves the record file holds, or -1 when there is none.
  int Saved() const {
    const RecordLoad load = LoadRecord(dir_ / "move.txt");
    return IsFileError(load.stop) ? -1 : static_cast<int>(load.moves.size());
  }
  std::vector<Point> Moves() const { return {game_.Moves().begin(), game_.Moves().end()}; }

  std::filesystem::path dir_;
  test::RecordingHost host_;
  Game game_;
};

TEST(CellFromPoint, PixelsToCells) {
  const struct {
    int x, y;
    Point cell;
  } cases[] = {
      {159, 159, {7, 7}}, {30, 30, {0, 0}},   {5, 5, {0, 0}},   {35, 36, {1, 0}},
      {301, 26, {0, 14}}, {302, 26, {0, 15}}, {-1, 26, {0, 0}}, {-2, 26, {0, -1}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CellFromPoint(c.x, c.y), c.cell) << c.x << "," << c.y;
}

TEST_F(TurnTest, ClicksBesideTheGridAndOnStonesDoNothing) {
  game_.TakeTurn(400, 100);
  game_.TakeTurn(100, -40);
  Click("h8");
  const int repaints = host_.repaints;
  Click("h8");
  EXPECT_EQ(game_.moveCount(), 1);
  EXPECT_EQ(host_.repaints, repaints);
  EXPECT_TRUE(host_.messages.empty());
}

// Two users: a five is announced before the stone goes down, the record is written at every
// fourth stone but not for the winning one, and play goes on after the win.
TEST_F(TurnTest, UsersPlayToAFive) {
  std::vector<int> saved;
  for (const Point p : Rif("h8 a1 i8 a3 j8 a5 k8 a7 l8")) {
    game_.TakeTurn(PixelX(p), PixelY(p));
    saved.push_back(Saved());
  }
  EXPECT_EQ(saved, (std::vector<int>{-1, -1, -1, 4, 4, 4, 4, 8, 8}));
  EXPECT_EQ(host_.messages, std::vector<std::string>{std::string(kBlackWon)});
  EXPECT_EQ(game_.position().board[7][11], kBlack);
  Click("o15");
  EXPECT_EQ(game_.position().board[0][14], kWhite);
}

// Black's stone on a forbidden point is announced and placed; with a five it is a win and only
// that, whatever else it makes; the computer replies to the first and not to the second.
TEST_F(TurnTest, KinjiteWithAndWithoutAFive) {
  game_.SetPlayers(kMan, kComputer);
  game_.LoadMoves(Rif("f8 a15 g8 d15 h10 g15 h9 j15"));  // h8: a double three
  ASSERT_EQ(game_.position().board[7][7], kForbiddenMark);
  Click("h8");
  EXPECT_EQ(host_.messages, std::vector<std::string>{std::string(kKinjite)});
  EXPECT_EQ(game_.moveCount(), 10);

  host_.messages.clear();
  // d8-g8 and a double three at h8 through h9-h10 and f10-g9.
  game_.LoadMoves(Rif("d8 a15 e8 d15 f8 g15 g8 j15 h10 m15 h9 a1 f10 d1 g9 g1"));
  ASSERT_EQ(game_.position().board[7][7], kForbiddenMark);
  Click("h8");
  EXPECT_EQ(host_.messages, std::vector<std::string>{std::string(kBlackWon)});
  EXPECT_EQ(game_.moveCount(), 17);

  // White plays where Black may not, without a word.
  host_.messages.clear();
  game_.SetPlayers(kMan, kMan);
  game_.LoadMoves(Rif("f8 a15 g8 d15 h10 g15 h9"));
  ASSERT_EQ(game_.position().board[7][7], kForbiddenMark);
  Click("h8");
  EXPECT_EQ(game_.position().board[7][7], kWhite);
  EXPECT_TRUE(host_.messages.empty());
}

struct AutosaveCase {
  char black;
  char white;
  std::vector<int> saved;  // the record's moves after each click
};

// The record is written whenever a stone brings the count to a multiple of 4: after the
// computer's reply when it plays White, before it when it plays Black.
TEST_F(TurnTest, RecordWrittenAtEveryFourthStone) {
  const AutosaveCase cases[] = {
      {kMan, kMan, {-1, -1, -1, 4}},
      {kMan, kComputer, {-1, 4, 4, 8}},
      {kComputer, kMan, {-1, 4, 4, 8}},
  };
  for (const AutosaveCase& c : cases) {
    SCOPED_TRACE((std::string{c.black, '/', c.white}));
    std::filesystem::remove(dir_ / "move.txt");
    game_.SetPlayers(c.black, c.white);
    std::vector<int> saved;
    for (const Point p : Rif("a1 o1 a15 o15")) {
      const int before = game_.moveCount();
      game_.TakeTurn(PixelX(p), PixelY(p));
      ASSERT_GT(game_.moveCount(), before);
      saved.push_back(Saved());
    }
    EXPECT_EQ(saved, c.saved);
    EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);
  }
}

TEST_F(TurnTest, TakeBackAndReplayKeys) {
  Click("h8 h9 i8 i9 j8");
  const std::vector<Point> five = Moves();
  game_.OnChar(' ');
  game_.OnChar(' ');
  game_.OnChar('n');
  EXPECT_EQ(Moves(), std::vector<Point>(five.begin(), five.begin() + 4));
  game_.OnChar('n');
  EXPECT_EQ(Moves(), five);
  game_.OnChar('n');  // entry 6 was never written
  game_.OnChar('N');
  EXPECT_EQ(Moves(), five);

  // Replay onto a point taken since: j8 (move 5) is played as move 4 after two take-backs.
  game_.OnChar(' ');
  game_.OnChar(' ');
  Click("j8");
  game_.OnChar('n');
  EXPECT_EQ(game_.moveCount(), 4);
  EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);

  // With a computer player the keys do nothing.
  game_.SetPlayers(kMan, kComputer);
  Click("a1");
  const int count = game_.moveCount();
  game_.OnChar(' ');
  EXPECT_EQ(game_.moveCount(), count);
}

// The computer's reply: "thinking..." and the ready text around the search, the stone's
// messages, '+' for a proven win, which the user's next stone clears; at level 0 the one-ply
// choice, without the search's texts.
TEST_F(TurnTest, ComputerReplyAndItsWin) {
  game_.LoadMoves(Rif("a1 h8 a3 i8 a5 j8 o15 k8 o1"));  // White's open four, White to move
  host_.statuses.clear();
  game_.RequestMove();
  EXPECT_EQ(host_.statuses,
            (std::vector<std::string>{std::string(kThinking), std::string(kReady)}));
  EXPECT_EQ(host_.messages, std::vector<std::string>{std::string(kWhiteWon)});
  EXPECT_EQ(game_.statusMark(), '+');
  EXPECT_EQ(game_.searchResult().value, -3);
  EXPECT_EQ(game_.settings().searchLevel, 10);
  EXPECT_EQ(game_.moveCount(), 10);
  Click("o3");
  EXPECT_EQ(game_.statusMark(), ' ');

  SearchSettings settings = game_.settings();
  settings.searchLevel = 0;
  ASSERT_TRUE(game_.SetSettings(settings));
  game_.SetPlayers(kMan, kComputer);
  host_.statuses.clear();
  Click("h8");
  EXPECT_EQ(game_.moveCount(), 2);
  EXPECT_TRUE(host_.statuses.empty());
  EXPECT_EQ(game_.statusMark(), ' ');
}

// Through move 9 the computer searches at level 12 at least, from move 10 at its own level; the
// level is its own again after every reply.
TEST_F(TurnTest, EarlyRepliesSearchAtLevelTwelve) {
  game_.SetPlayers(kMan, kComputer);
  std::vector<int> levels;
  host_.onPump = [&] { levels.push_back(game_.settings().searchLevel); };
  const char* moves[] = {"g6 g7 h7 h5 h8 i7 j10 i9", "g6 g7 h7 h5 h8 i7 j10 i9 j8 j7"};
  for (const char* position : moves) {
    levels.clear();
    game_.LoadMoves(Rif(position));
    game_.RequestMove();
    ASSERT_FALSE(levels.empty()) << position;
    EXPECT_EQ(levels.front(), Rif(position).size() <= 9 ? 12 : 10) << position;
    EXPECT_EQ(game_.settings().searchLevel, 10);
  }
}

// A search still running at its deadline is abandoned and says so; one that ends in time is the
// search without a deadline.
TEST_F(TurnTest, SearchWithADeadline) {
  game_.LoadMoves(Rif("g6 g7 h7 h5 h8 i7 j10 i9 j8 j7"));
  game_.SeedRandom(1);
  const Thought free = game_.Think();
  ASSERT_FALSE(free.stopped);
  const auto now = std::chrono::steady_clock::now();
  const Thought late = game_.Think(now - std::chrono::seconds(1));
  EXPECT_TRUE(late.stopped);
  EXPECT_EQ(late.nodes, 1);
  game_.SeedRandom(1);
  const Thought timely = game_.Think(now + std::chrono::hours(1));
  EXPECT_FALSE(timely.stopped);
  EXPECT_EQ(timely.nodes, free.nodes);
  EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);
}

// "Next" makes the computer play the side to move, up to a full board; then, and when Black has
// only a marked point left, it says why it does not move.
TEST_F(TurnTest, RequestedMovesUpToAFullBoard) {
  // Stripes two columns wide: no line of five, no mark; Black's last point stays empty.
  std::vector<Point> black;
  std::vector<Point> white;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c)
      ((r + c / 2) % 2 == 0 ? black : white).push_back({r, c});
  }
  std::vector<Point> moves;
  for (size_t k = 0; k < white.size(); ++k)
    moves.insert(moves.end(), {black[k], white[k]});
  ASSERT_EQ(game_.LoadMoves(moves), kMaxMoves - 1);
  game_.RequestMove();
  EXPECT_EQ(game_.moveCount(), kMaxMoves);
  EXPECT_EQ(game_.Move(kMaxMoves), black.back());
  game_.RequestMove();
  EXPECT_EQ(game_.moveCount(), kMaxMoves);
  EXPECT_EQ(host_.statuses.back(), "The board is full");
  EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);

  // Black to move, and the one empty point would give Black six in a row.
  black.clear();
  white.clear();
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (r == 0 && c == 3) continue;
      const bool isBlack = r == 0 ? c < 6 : (r + c / 2) % 2 == 0 || (r == 14 && c > 10);
      (isBlack ? black : white).push_back({r, c});
    }
  }
  ASSERT_EQ(black.size(), white.size());
  moves.clear();
  for (size_t k = 0; k < white.size(); ++k)
    moves.insert(moves.end(), {black[k], white[k]});
  ASSERT_EQ(game_.LoadMoves(moves), kMaxMoves - 1);
  ASSERT_EQ(game_.position().board[0][3], kOverlineMark);
  game_.RequestMove();
  EXPECT_EQ(game_.moveCount(), kMaxMoves - 1);
  EXPECT_EQ(host_.statuses.back(), "Black has no point left to play");
}

// White's answers to a Black threat are not checked for stones (the search's copy simply takes
// the point), and here the root ends on one: the search answers k6, Black's stone. Playing it
// would corrupt the game, so the one-ply choice plays instead. Position: lfz084/lfz084.github.io
// @b15820dbaf5a puzzle/json 白先VCF #391 after two moves of its solution.
TEST_F(TurnTest, ASearchAnswerOnAStoneIsNotPlayed) {
  const std::vector<Point> moves =
      Rif("f6 g7 f7 h7 g5 h8 g6 i3 h4 j4 i5 j5 i9 j8 j2 j9 j6 k7 k4 l5 k6 l7 k9 m4 l4 m9 l8 n3 m8 "
          "j7 i7");
  game_.LoadMoves(moves);
  const Point k6 = Rif("k6")[0];
  const Thought thought = game_.Think();
  ASSERT_TRUE(thought.result);
  ASSERT_EQ(thought.result->point(), k6);
  ASSERT_EQ(game_.position().board[k6.row][k6.col], kBlack);

  game_.RequestMove();
  ASSERT_EQ(game_.moveCount(), 32);
  EXPECT_EQ(game_.searchResult().point(), k6);
  const Point played = game_.Move(32);
  EXPECT_NE(played, k6);
  EXPECT_EQ(game_.position().board[k6.row][k6.col], kBlack);
  EXPECT_EQ(game_.position().board[played.row][played.col], kWhite);
  EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);
}

// Input that the window dispatches from inside the search changes nothing and is not kept for
// later: the reply is the one a game without that input makes.
TEST_F(TurnTest, InputWhileTheComputerThinksIsDropped) {
  const char* position = "g6 g7 h7 h5 h8 i7 j10 i9 j8 j7";  // the search runs past depth 6
  test::RecordingHost quiet;
  Game reference(quiet, dir_ / "reference.txt");
  reference.SeedRandom(1);
  reference.LoadMoves(Rif(position));
  reference.RequestMove();

  game_.LoadMoves(Rif(position));
  const std::filesystem::path other = dir_ / "other.txt";
  ASSERT_EQ(SaveRecord(other, Rif("a1 a2 a3")), std::error_code());
  host_.openAnswers.push_back(other);
  host_.saveAnswers.push_back(dir_ / "trace.txt");
  const SearchSettings settings = game_.settings();
  int refused = 0;
  host_.onPump = [&] {
    ASSERT_TRUE(game_.thinking());
    game_.TakeTurn(PixelX({0, 0}), PixelY({0, 0}));
    game_.RequestMove();
    game_.OnChar(' ');
    game_.OnChar('n');
    game_.NewGameCommand();
    game_.SetPlayers(kComputer, kComputer);
    game_.LoadRecordCommand();
    game_.LoadTraceCommand();
    game_.SaveTraceCommand(false);
    SearchSettings shallow = settings;
    shallow.searchLevel = 2;
    refused += !game_.SetSettings(shallow) + !game_.SelectLevel(3) + !game_.SetTraceSwitch(true) +
               !game_.SetDisplayMode(1);
    refused += (game_.Play({0, 0}) == PlayResult::kBusy) + !game_.TakeBack() + !game_.ReplayNext();
    game_.LoadMoves(Rif("a1"));
    game_.NewGame();
  };
  game_.RequestMove();

  ASSERT_GT(host_.pumps, 0);
  EXPECT_EQ(refused, 7 * host_.pumps);
  EXPECT_FALSE(game_.thinking());
  EXPECT_EQ(Moves(), std::vector<Point>(reference.Moves().begin(), reference.Moves().end()));
  EXPECT_EQ(game_.position().board, reference.position().board);
  EXPECT_EQ(game_.blackPlayer(), kMan);
  EXPECT_EQ(game_.whitePlayer(), kMan);
  EXPECT_EQ(game_.settings().searchLevel, settings.searchLevel);
  EXPECT_EQ(game_.levelIndex(), 0);
  EXPECT_FALSE(game_.traceSwitch());
  EXPECT_EQ(host_.openAnswers.size(), 1U);  // no dialog was opened
  EXPECT_EQ(host_.saveAnswers.size(), 1U);
  EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);
}

// A record that cannot be written is reported, the autosave's in the status bar and the explicit
// save's in a message box; the game goes on.
TEST_F(TurnTest, FailedSavesAreReported) {
  test::RecordingHost host;
  Game game(host, dir_ / "missing" / "move.txt");
  for (const Point p : Rif("h8 h9 i8 i9"))
    game.TakeTurn(PixelX(p), PixelY(p));
  EXPECT_EQ(game.moveCount(), 4);
  ASSERT_FALSE(host.statuses.empty());
  EXPECT_EQ(host.statuses.back().rfind("Cannot save move.txt: ", 0), 0U) << host.statuses.back();
  EXPECT_TRUE(host.messages.empty());

  game.SaveRecordCommand();
  ASSERT_EQ(host.messages.size(), 1U);
  EXPECT_EQ(host.messages[0], host.statuses.back());
}

// Loading a record: a missing file leaves the game; a damaged one loads its valid prefix.
TEST_F(TurnTest, LoadingTheRecord) {
  Click("h8 h9");
  game_.LoadRecordCommand();
  EXPECT_EQ(game_.moveCount(), 2);
  EXPECT_EQ(host_.statuses.back().rfind("Cannot load move.txt: ", 0), 0U) << host_.statuses.back();

  test::WriteFile(dir_ / "move.txt", FormatMoveLine(1, {7, 7}) + FormatMoveLine(3, {0, 0}));
  game_.LoadRecordCommand();
  EXPECT_EQ(Moves(), Rif("h8"));
  EXPECT_NE(host_.statuses.back().find("line 2"), std::string::npos) << host_.statuses.back();
}

// Trace files through the dialogs: the nodes of the last search with the switch on, the short
// form, and loading, which leaves the last move for 'n'.
TEST_F(TurnTest, TraceFilesThroughTheDialogs) {
  ASSERT_TRUE(game_.SetTraceSwitch(true));
  game_.LoadMoves(Rif("g6 g7 h7 h5 h8 i7 j10 i9 j8 j7"));
  game_.RequestMove();
  ASSERT_GT(game_.traceEntries().size(), 0U);
  ASSERT_EQ(static_cast<int>(game_.traceEntries().size()), game_.traceCount());
  // Entries stand at their own index: entry 0 is the root's first move, every entry is written,
  // and here the root's last entry is the move it played.
  EXPECT_EQ(game_.traceEntries()[0].depth, 1);
  int lastRoot = -1;
  for (size_t i = 0; i < game_.traceEntries().size(); ++i) {
    ASSERT_GT(game_.traceEntries()[i].depth, 0) << i;
    if (game_.traceEntries()[i].depth == 1) lastRoot = static_cast<int>(i);
  }
  ASSERT_GE(lastRoot, 0);
  const TraceEntry& root = game_.traceEntries()[static_cast<size_t>(lastRoot)];
  EXPECT_EQ((Point{root.row, root.col}), game_.Move(game_.moveCount()));

  const std::filesystem::path full = dir_ / "full.txt";
  const std::filesystem::path brief = dir_ / "short.txt";
  host_.saveAnswers = {full, brief};
  game_.SaveTraceCommand(false);
  game_.SaveTraceCommand(true);
  game_.SaveTraceCommand(false);  // cancelled
  EXPECT_EQ(test::ReadFile(full), FormatTrace(game_.Moves(), game_.traceEntries(), false));
  EXPECT_EQ(test::ReadFile(brief), FormatTrace(game_.Moves(), game_.traceEntries(), true));
  EXPECT_EQ(host_.events.back(), "save txt");

  const std::vector<Point> played = Moves();
  host_.openAnswers = {full};
  game_.LoadTraceCommand();
  EXPECT_EQ(Moves(), std::vector<Point>(played.begin(), played.end() - 1));
  game_.OnChar('n');
  EXPECT_EQ(Moves(), played);
  EXPECT_EQ(game_.BrokenInvariant(), std::nullopt);
}

}  // namespace
}  // namespace zel
