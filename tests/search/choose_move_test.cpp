#include "search/choose_move.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "game/game.h"
#include "patterns/line_codes.h"
#include "patterns/update.h"
#include "support/recording_host.h"

namespace zel {
namespace {

Position Stones(std::initializer_list<Point> black, std::initializer_list<Point> white) {
  Position pos;
  for (Point p : black)
    UpdatePatterns(pos, p.row, p.col, kBlack);
  for (Point p : white)
    UpdatePatterns(pos, p.row, p.col, kWhite);
  return pos;
}

EngineState StateOf(const Position& pos, int moveCount) {
  EngineState state;
  state.position = pos;
  state.moveCount = moveCount;
  state.random.Seed(1);
  return state;
}

// Pattern sums worked out from the weights. Every direction without a stone on its line has
// code 1 for both colours: 12 + offset each (offset 5 for Black's own codes before move 25).
struct SumCase {
  const char* name;
  Position pos;
  int colour;
  int moveCount;
  Point point;
  int blackRowCode;  // the codes the sum rests on
  int whiteRowCode;
  int local;
};

TEST(PatternSums, ContributionsByCodeChooserAndMoveCount) {
  const Position lone = Stones({{7, 7}}, {});
  const Position three = Stones({{7, 5}, {7, 6}, {7, 7}}, {});
  const Position gapFour = Stones({{7, 3}, {7, 4}, {7, 6}}, {});
  const Position two = Stones({{7, 6}, {7, 7}}, {});
  const Position whiteTwo = Stones({}, {{7, 6}, {7, 7}});
  const SumCase cases[] = {
      // Open twos: own 48 + offset; the opponent's 48 next to its stone, 42 apart.
      {"own two m<25", lone, kBlack, 0, {7, 8}, kOpenTwo, kBase, 53 + 3 * 17 + 4 * 12},
      {"own two m>=25", lone, kBlack, 30, {7, 8}, kOpenTwo, kBase, 48 + 3 * 12 + 4 * 12},
      {"other two adjacent", lone, kWhite, 1, {7, 8}, kOpenTwo, kBase, 48 + 3 * 12 + 4 * 12},
      {"other two apart", lone, kWhite, 1, {7, 9}, kOpenTwo, kBase, 42 + 3 * 12 + 4 * 12},
      {"single", lone, kBlack, 0, {7, 10}, kSingle, kBase, 41 + 3 * 17 + 4 * 12},
      // Fours: the chooser's own lose 20 without an adjacent stone; the opponent's do not.
      {"own four adjacent", gapFour, kBlack, 0, {7, 7}, kFour, kBase, 180 + 3 * 17 + 48},
      {"other four late", gapFour, kWhite, 31, {7, 7}, kFour, kBase, 150 + 3 * 12 + 48},
      {"own four apart", three, kBlack, 0, {7, 9}, kFour, kBase, 160 + 3 * 17 + 48},
      {"other four apart", three, kWhite, 1, {7, 9}, kFour, kBase, 160 + 3 * 12 + 48},
      // Open threes.
      {"own three adjacent", two, kBlack, 0, {7, 8}, kOpenThree, kBase, 195 + 3 * 17 + 48},
      {"own three late", two, kBlack, 30, {7, 8}, kOpenThree, kBase, 175 + 3 * 12 + 48},
      {"own three apart", two, kBlack, 0, {7, 9}, kOpenThree, kBase, 175 + 3 * 17 + 48},
      {"White's three", whiteTwo, kBlack, 0, {7, 8}, kBase, kOpenThree, 165 + 36 + 4 * 17},
      {"White's three apart", whiteTwo, kBlack, 0, {7, 9}, kBase, kOpenThree, 55 + 36 + 4 * 17},
      // Black's three for White: 175 x 1.2, 175 x 1.1, then 165; apart 175 / 2.5, 165 / 2.5.
      {"Black's three m<15", two, kWhite, 1, {7, 8}, kOpenThree, kBase, 210 + 3 * 12 + 48},
      {"Black's three m<25", two, kWhite, 21, {7, 8}, kOpenThree, kBase, 192 + 3 * 12 + 48},
      {"Black's three late", two, kWhite, 31, {7, 8}, kOpenThree, kBase, 165 + 3 * 12 + 48},
      {"Black's three apart", two, kWhite, 1, {7, 9}, kOpenThree, kBase, 70 + 3 * 12 + 48},
      {"... apart late", two, kWhite, 31, {7, 9}, kOpenThree, kBase, 66 + 3 * 12 + 48},
  };
  for (const SumCase& tc : cases) {
    SCOPED_TRACE(tc.name);
    const auto [r, c] = tc.point;
    ASSERT_EQ(tc.pos.black[r][c][0], tc.blackRowCode);
    ASSERT_EQ(tc.pos.white[r][c][0], tc.whiteRowCode);
    ScoreTable scores;
    ScoreTable local;
    PatternSums(tc.colour, tc.moveCount, tc.pos, scores, local);
    EXPECT_EQ(local[r][c], tc.local);
    EXPECT_EQ(scores[r][c], 0);
  }
}

TEST(PatternSums, LaterFiveOrStraightFourInTheScanSetsTheScore) {
  // Black's five and White's straight four meet at (7, 7), one along the row (direction 0),
  // the other along the column (direction 1).
  const Position fiveInRow = Stones({{7, 3}, {7, 4}, {7, 5}, {7, 6}}, {{4, 7}, {5, 7}, {6, 7}});
  const Position fiveInColumn = Stones({{3, 7}, {4, 7}, {5, 7}, {6, 7}}, {{7, 4}, {7, 5}, {7, 6}});
  ASSERT_EQ(fiveInRow.black[7][7][0], kFive);
  ASSERT_EQ(fiveInRow.white[7][7][1], kStraightFour);
  ASSERT_EQ(fiveInColumn.black[7][7][1], kFive);
  ASSERT_EQ(fiveInColumn.white[7][7][0], kStraightFour);
  const struct {
    const Position* pos;
    int colour;
    int score;
  } cases[] = {
      {&fiveInRow, kBlack, 1500},     // the other table's straight four comes last
      {&fiveInColumn, kBlack, 9000},  // the own five comes last
      {&fiveInRow, kWhite, 1800},
      {&fiveInColumn, kWhite, 7000},
  };
  for (const auto& tc : cases) {
    ScoreTable scores;
    ScoreTable local;
    PatternSums(tc.colour, 10, *tc.pos, scores, local);
    EXPECT_EQ(scores[7][7], tc.score);
  }
}

TEST(PatternSums, DoubleThreatsAndForbiddenPoints) {
  const Position blackDoubleThree = Stones({{7, 5}, {7, 6}, {5, 7}, {6, 7}}, {});
  const Position whiteDoubleThree = Stones({}, {{7, 5}, {7, 6}, {5, 7}, {6, 7}});
  const Position blackFourThree = Stones({{7, 3}, {7, 4}, {7, 6}, {5, 7}, {6, 7}}, {});
  ASSERT_EQ(blackDoubleThree.board[7][7], kForbiddenMark);
  ASSERT_EQ(blackFourThree.board[7][7], kEmpty);
  ASSERT_EQ(blackFourThree.black[7][7][0], kFour);
  ScoreTable scores;
  ScoreTable local;

  // The forbidden point: a penalty on the score, no bonus.
  PatternSums(kBlack, 0, blackDoubleThree, scores, local);
  EXPECT_EQ(scores[7][7], -8000);
  EXPECT_EQ(local[7][7], 2 * 195 + 2 * 17 + 4 * 12);
  PatternSums(kWhite, 1, blackDoubleThree, scores, local);
  EXPECT_EQ(scores[7][7], -150);
  EXPECT_EQ(local[7][7], 2 * 210 + 2 * 12 + 4 * 12);

  // Black's four-three is allowed: 300 more, like White's double three.
  PatternSums(kBlack, 0, blackFourThree, scores, local);
  EXPECT_EQ(scores[7][7], 0);
  EXPECT_EQ(local[7][7], 180 + 195 + 2 * 17 + 4 * 12 + 300);
  PatternSums(kBlack, 0, whiteDoubleThree, scores, local);
  EXPECT_EQ(local[7][7], 4 * 17 + 2 * 165 + 2 * 12 + 300);
  PatternSums(kWhite, 31, whiteDoubleThree, scores, local);
  EXPECT_EQ(local[7][7], 4 * 12 + 2 * 175 + 2 * 12 + 300);
}

TEST(ChooseMove, EmptyBoardScoresByRing) {
  // Every point sums eight codes of 1: 116 for Black at move 0, 96 for White late in the game.
  // Inner points add a twelfth of their 5 x 5 neighbourhood.
  const struct {
    int colour;
    int moveCount;
    int centre, outer, second, third;
  } cases[] = {
      {kBlack, 0, 116 + 25 * 116 / 12, 116 - 80, 116, 116 + 25 * 116 / 12 - 50},
      {kWhite, 31, 96 + 25 * 96 / 12, 96 - 80, 96, 96 + 25 * 96 / 12 - 50},
  };
  for (const auto& tc : cases) {
    EngineState state = StateOf(Position(), tc.moveCount);
    ScoreTable scores;
    const MoveChoice choice = ChooseMove(state, tc.colour, state.position, scores);
    for (int k = 0; k < kBoardSize; ++k) {
      EXPECT_EQ(scores[0][k], tc.outer);
      EXPECT_EQ(scores[k][14], tc.outer);
    }
    EXPECT_EQ(scores[1][1], tc.second);
    EXPECT_EQ(scores[13][7], tc.second);
    EXPECT_EQ(scores[2][2], tc.third);
    EXPECT_EQ(scores[7][12], tc.third);
    EXPECT_EQ(scores[3][3], tc.centre);
    EXPECT_EQ(scores[7][7], tc.centre);
    // The best are the inner points; the third ring lies within 90 of them, the second not.
    ASSERT_TRUE(choice.point);
    EXPECT_GE(std::min({choice.point->row, choice.point->col, 14 - choice.point->row,
                        14 - choice.point->col}),
              2);
  }
}

// A game through a Game, so that the move list and the game's board agree with the position.
struct ChooseMoveInGame : ::testing::Test {
  test::RecordingHost host;
  Game game{host};
  ScoreTable scores;

  MoveChoice Choose(const std::vector<Point>& moves, std::uint32_t seed) {
    game.LoadMoves(moves);
    game.engine().random.Seed(seed);
    return ChooseMove(game.engine(), game.SideToMove(), game.position(), scores);
  }
};

// With seed 1 the generator gives 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358.
TEST_F(ChooseMoveInGame, OpeningRules) {
  const struct {
    std::vector<Point> moves;
    Point expected;
  } cases[] = {
      {{{7, 7}}, {8, 8}},          // 41 % 3, 18467 % 3: one down, one right
      {{{14, 14}}, {13, 13}},      // (15, 15) off the board, (14, 14) taken, (15, 14) off
      {{{7, 7}, {6, 7}}, {9, 5}},  // rows and columns 5 + rand() % 5: (6, 7) taken
  };
  for (const auto& tc : cases) {
    const MoveChoice choice = Choose(tc.moves, 1);
    ASSERT_TRUE(choice.point);
    EXPECT_EQ(*choice.point, tc.expected);
    EXPECT_EQ(choice.count, 0);
    EXPECT_EQ(choice.topCount, 0);
  }
  // A second stone away from the centre leaves the choice to the scores.
  EXPECT_GE(Choose({{7, 7}, {5, 7}}, 1).count, 1);
}

TEST(ChooseMove, OpeningAreaWithoutRoomFallsThroughToTheScores) {
  // A search's copy with the first stone's 3 x 3 area filled, while the game has one stone.
  EngineState state = StateOf(Stones({{0, 0}}, {}), 1);
  state.moveList[1] = {0, 0};
  const Position copy = Stones({{0, 0}, {1, 1}}, {{0, 1}, {1, 0}});
  ScoreTable scores;
  const MoveChoice choice = ChooseMove(state, kWhite, copy, scores);
  ASSERT_TRUE(choice.point);
  EXPECT_GE(choice.count, 1);
  EXPECT_LE(copy.board[choice.point->row][choice.point->col], 0);
}

TEST_F(ChooseMoveInGame, AFiveIsTheOnlyCandidateForBothSides) {
  // Black threatens five at (7, 7) only; (7, 2) is White's.
  game.LoadMoves(std::vector<Point>{{7, 3}, {7, 2}, {7, 4}, {0, 0}, {7, 5}, {0, 14}, {7, 6}});
  for (int colour : {kBlack, kWhite}) {
    const MoveChoice choice = ChooseMove(game.engine(), colour, game.position(), scores);
    ASSERT_TRUE(choice.point);
    EXPECT_EQ(*choice.point, (Point{7, 7}));
    EXPECT_EQ(choice.count, 1);
    EXPECT_EQ(choice.topCount, 1);
  }
}

TEST_F(ChooseMoveInGame, SameSeedSameChoiceAndPositionUntouched) {
  const std::vector<Point> moves = {{7, 7}, {6, 8}, {8, 8}, {8, 6}, {6, 6},
                                    {9, 9}, {8, 7}, {9, 7}, {5, 5}, {4, 4}};
  game.LoadMoves(moves);
  const Position before = game.position();
  const MoveChoice first = Choose(moves, 7);
  EXPECT_EQ(game.position().board, before.board);
  EXPECT_EQ(game.position().black, before.black);
  EXPECT_EQ(game.position().white, before.white);
  const MoveChoice again = Choose(moves, 7);
  ASSERT_TRUE(first.point && again.point);
  EXPECT_EQ(*first.point, *again.point);
  // The draw picks rand() % topCount among the ranked candidates; without it, the first.
  Random expected(7);
  EXPECT_EQ(*first.point, first.candidates[expected.Next() % first.topCount]);
  game.settings().randomChoice = false;
  EXPECT_EQ(*Choose(moves, 7).point, first.candidates[0]);
}

TEST(ChooseMove, NoSelectablePoint) {
  // A full board but for (0, 3), where Black would make six: White may play there, Black not.
  Position pos;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      const bool black = r == 0 ? c < 6 : (r + c / 2) % 2 == 0;
      if (r != 0 || c != 3) UpdatePatterns(pos, r, c, black ? kBlack : kWhite);
    }
  }
  ASSERT_EQ(pos.board[0][3], kOverlineMark);
  EngineState state = StateOf(pos, 100);
  ScoreTable scores;
  EXPECT_FALSE(ChooseMove(state, kBlack, pos, scores).point);
  const MoveChoice white = ChooseMove(state, kWhite, pos, scores);
  ASSERT_TRUE(white.point);
  EXPECT_EQ(*white.point, (Point{0, 3}));

  UpdatePatterns(pos, 0, 3, kWhite);
  EXPECT_FALSE(ChooseMove(state, kWhite, pos, scores).point);
}

}  // namespace
}  // namespace zel
