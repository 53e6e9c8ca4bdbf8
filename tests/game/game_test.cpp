#include "game/game.h"

#include <gtest/gtest.h>

#include "patterns/line_codes.h"
#include "support/printers.h"
#include "support/recording_host.h"

namespace zel {
namespace {

class GameTest : public ::testing::Test {
 protected:
  test::RecordingHost host;
  Game game{host};
};

TEST_F(GameTest, FreshGame) {
  EXPECT_EQ(game.moveCount(), 0);
  EXPECT_EQ(game.settings().searchLevel, 10);
  EXPECT_EQ(game.statusMark(), ' ');
  EXPECT_EQ(game.position().board, Position().board);
  EXPECT_EQ(game.position().blackCodes, Position().blackCodes);
  for (int k = 0; k < kMoveListSize; ++k)
    EXPECT_EQ(game.Move(k), kNoPoint);
  EXPECT_EQ(host.statuses, std::vector<std::string>{std::string(kGreeting)});
}

TEST_F(GameTest, ComputerBlackOpensOnTheCentre) {
  game.SetPlayers(kComputer, kMan);
  EXPECT_EQ(game.moveCount(), 1);
  EXPECT_EQ(game.Move(1), (Point{7, 7}));
  EXPECT_EQ(game.position().board[7][7], kBlack);
  EXPECT_EQ(game.position().Code(kBlack, 7, 8, 0), kOpenTwo);
  EXPECT_EQ(game.SideToMove(), kWhite);
}

TEST_F(GameTest, NewGameKeepsTheMoveList) {
  for (int k = 0; k < 10; ++k)
    ASSERT_EQ(game.Play({k, k % 2 == 0 ? 0 : 14}), PlayResult::kPlayed);
  game.NewGame();
  EXPECT_EQ(game.moveCount(), 0);
  for (int k = 1; k <= 10; ++k)
    EXPECT_EQ(game.Move(k), (Point{k - 1, k % 2 == 1 ? 0 : 14}));
  EXPECT_EQ(game.position().board[0][0], kEmpty);
}

TEST_F(GameTest, FullBoard) {
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c)
      ASSERT_EQ(game.Play({r, c}), PlayResult::kPlayed);
  }
  EXPECT_EQ(game.moveCount(), kMaxMoves);
  EXPECT_EQ(game.Move(kMaxMoves), (Point{14, 14}));
  EXPECT_EQ(game.Move(kMaxMoves + 1), kNoPoint);
  EXPECT_FALSE(game.ReplayNext());
}

// Taking back a corner stone leaves its short diagonal coded blocked, where a new game reads
// base: the state is sound all the same.
TEST_F(GameTest, CornerStonesTakenBack) {
  for (const Point p : {Point{0, 0}, Point{14, 14}, Point{0, 14}, Point{14, 0}, Point{1, 2}})
    ASSERT_EQ(game.Play(p), PlayResult::kPlayed);
  while (game.TakeBack()) {
  }
  EXPECT_EQ(game.position().board, Position().board);
  EXPECT_NE(game.position().blackCodes, Position().blackCodes);
  EXPECT_EQ(game.BrokenInvariant(), std::nullopt);
}

TEST_F(GameTest, TakeBackAndReplay) {
  const Point moves[] = {{7, 7}, {7, 8}, {8, 8}, {6, 6}, {9, 9}};
  for (Point p : moves)
    ASSERT_EQ(game.Play(p), PlayResult::kPlayed);
  const Position five = game.position();
  ASSERT_TRUE(game.TakeBack());
  ASSERT_TRUE(game.TakeBack());
  EXPECT_EQ(game.moveCount(), 3);
  EXPECT_EQ(game.position().board[6][6], kEmpty);
  ASSERT_TRUE(game.ReplayNext());
  EXPECT_EQ(game.position().board[6][6], kWhite);
  ASSERT_TRUE(game.ReplayNext());
  EXPECT_EQ(game.moveCount(), 5);
  EXPECT_EQ(game.position().board, five.board);
  EXPECT_FALSE(game.ReplayNext());  // entry 6 was never written
  EXPECT_EQ(game.moveCount(), 5);
}

// A move off the board or onto a stone is refused and leaves the whole game as it was; a marked
// point is Black's to avoid, not the game's to refuse.
TEST_F(GameTest, PlayRefusesOffBoardAndOccupiedPoints) {
  for (const Point p : {Point{7, 7}, Point{0, 0}, Point{7, 9}, Point{1, 0}, Point{7, 5}})
    ASSERT_EQ(game.Play(p), PlayResult::kPlayed);
  const Position before = game.position();
  const int count = game.moveCount();
  const std::vector<Point> moves(game.Moves().begin(), game.Moves().end());
  const struct {
    Point p;
    PlayResult expected;
  } cases[] = {
      {{-1, 7}, PlayResult::kOffBoard},  {{15, 7}, PlayResult::kOffBoard},
      {{7, -1}, PlayResult::kOffBoard},  {{7, 15}, PlayResult::kOffBoard},
      {kNoPoint, PlayResult::kOffBoard}, {{7, 7}, PlayResult::kOccupied},
      {{0, 0}, PlayResult::kOccupied},   {{7, 5}, PlayResult::kOccupied},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(game.Play(c.p), c.expected) << c.p.row << "," << c.p.col;
    EXPECT_EQ(game.moveCount(), count);
    EXPECT_EQ(std::vector<Point>(game.Moves().begin(), game.Moves().end()), moves);
    EXPECT_EQ(game.Move(count + 1), kNoPoint);
    EXPECT_EQ(game.position().board, before.board);
    EXPECT_EQ(game.position().blackCodes, before.blackCodes);
    EXPECT_EQ(game.position().whiteCodes, before.whiteCodes);
  }
  EXPECT_EQ(game.BrokenInvariant(), std::nullopt);
}

TEST_F(GameTest, PlayTakesAMarkedPoint) {
  // Black's twos on row 7 and column 7 make (7, 7) a double three.
  for (const Point p : {Point{7, 5}, Point{0, 0}, Point{7, 6}, Point{0, 2}, Point{5, 7},
                        Point{0, 4}, Point{6, 7}, Point{0, 6}})
    ASSERT_EQ(game.Play(p), PlayResult::kPlayed);
  ASSERT_EQ(game.position().board[7][7], kForbiddenMark);
  EXPECT_EQ(game.Play({7, 7}), PlayResult::kPlayed);
  EXPECT_EQ(game.position().board[7][7], kBlack);
  EXPECT_EQ(game.moveCount(), 9);
}

// Search settings that would take the search past the move list's scratch entries are refused.
TEST_F(GameTest, SearchSettingsStayWithinTheMoveList) {
  SearchSettings settings = game.settings();
  settings.searchLevel = kMaxSearchLevel;
  EXPECT_TRUE(game.SetSettings(settings));
  EXPECT_EQ(game.settings().searchLevel, kMaxSearchLevel);
  for (const auto& [level, extension] :
       {std::pair{kMaxSearchLevel + 1, 6}, std::pair{10, -1}, std::pair{kMaxSearchDepth - 5, 6}}) {
    SearchSettings bad = game.settings();
    bad.searchLevel = level;
    bad.fourExtension = extension;
    EXPECT_FALSE(game.SetSettings(bad)) << level << " " << extension;
    EXPECT_EQ(game.settings().searchLevel, kMaxSearchLevel);
    EXPECT_EQ(game.settings().fourExtension, 6);
  }
  settings.searchLevel = 0;  // the one-ply choice
  EXPECT_TRUE(game.SetSettings(settings));
}

TEST_F(GameTest, LoadMovesWithComputerBlackDropsTheCentreStone) {
  game.SetPlayers(kComputer, kMan);
  const Point moves[] = {{3, 3}, {4, 4}};
  game.LoadMoves(moves);
  EXPECT_EQ(game.moveCount(), 2);
  EXPECT_EQ(game.position().board[7][7], kEmpty);
  EXPECT_EQ(game.position().board[3][3], kBlack);
  EXPECT_EQ(game.position().board[4][4], kWhite);

  // A move onto a stone or off the board ends loading.
  const Point bad[] = {{3, 3}, {4, 4}, {3, 3}, {5, 5}};
  EXPECT_EQ(game.LoadMoves(bad), 2);
  const Point off[] = {{3, 3}, {15, 4}};
  EXPECT_EQ(game.LoadMoves(off), 1);

  game.LoadMoves({});  // no moves: a new game, with the computer's centre stone
  EXPECT_EQ(game.moveCount(), 1);
  EXPECT_EQ(game.position().board[7][7], kBlack);
}

}  // namespace
}  // namespace zel
