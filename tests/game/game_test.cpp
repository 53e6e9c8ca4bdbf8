#include "game/game.h"

#include <gtest/gtest.h>

#include "patterns/line_codes.h"
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
  EXPECT_EQ(game.statusMark, ' ');
  EXPECT_EQ(game.position().board, Position().board);
  EXPECT_EQ(game.position().black, Position().black);
  for (int k = 0; k < kMoveListSize; ++k)
    EXPECT_EQ(game.Move(k), kNoPoint);
  EXPECT_EQ(host.statuses, std::vector<std::string>{std::string(kGreeting)});
}

TEST_F(GameTest, ComputerBlackOpensOnTheCentre) {
  game.blackPlayer = kComputer;
  game.NewGame();
  EXPECT_EQ(game.moveCount(), 1);
  EXPECT_EQ(game.Move(1), (Point{7, 7}));
  EXPECT_EQ(game.position().board[7][7], kBlack);
  EXPECT_EQ(game.position().black[7][8][0], kOpenTwo);
  EXPECT_EQ(game.SideToMove(), kWhite);
}

TEST_F(GameTest, NewGameKeepsTheMoveList) {
  for (int k = 0; k < 10; ++k)
    game.Play({k, k % 2 == 0 ? 0 : 14});
  game.statusMark = '+';
  game.NewGame();
  EXPECT_EQ(game.moveCount(), 0);
  EXPECT_EQ(game.statusMark, ' ');
  for (int k = 1; k <= 10; ++k)
    EXPECT_EQ(game.Move(k), (Point{k - 1, k % 2 == 1 ? 0 : 14}));
  EXPECT_EQ(game.position().board[0][0], kEmpty);
}

TEST_F(GameTest, FullBoard) {
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c)
      game.Play({r, c});
  }
  EXPECT_EQ(game.moveCount(), kMaxMoves);
  EXPECT_EQ(game.Move(kMaxMoves), (Point{14, 14}));
  EXPECT_EQ(game.Move(kMaxMoves + 1), kNoPoint);
  EXPECT_FALSE(game.ReplayNext());
}

TEST_F(GameTest, TakeBackAndReplay) {
  const Point moves[] = {{7, 7}, {7, 8}, {8, 8}, {6, 6}, {9, 9}};
  for (Point p : moves)
    game.Play(p);
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

TEST_F(GameTest, LoadMovesWithComputerBlackDropsTheCentreStone) {
  game.blackPlayer = kComputer;
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
