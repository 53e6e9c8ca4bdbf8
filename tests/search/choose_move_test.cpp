#include "search/choose_move.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

#include "patterns/update.h"
#include "support/engine_state.h"
#include "support/positions.h"

namespace zel {
namespace {

using test::EngineAt;
using test::Stones;

// Pattern sums on row 7 worked out from the weights. Every direction without a stone on its line
// has code 1 for both colours: 12 + offset each (offset 5 for Black's own codes before move 25).
TEST(PatternSums, ContributionsDoubleThreatsAndForbiddenPoints) {
  const Position lone = Stones("7,7");
  const Position three = Stones("7,5 7,6 7,7");
  const Position gapFour = Stones("7,3 7,4 7,6");
  const Position two = Stones("7,6 7,7");
  const Position whiteTwo = Stones("", "7,6 7,7");
  const Position doubleThree = Stones("7,5 7,6 5,7 6,7");  // (7, 7) forbidden
  const Position whiteDoubleThree = Stones("", "7,5 7,6 5,7 6,7");
  const Position fourThree = Stones("7,3 7,4 7,6 5,7 6,7");
  const struct {
    const char* name;
    const Position& pos;
    int colour, moveCount, col, local, score;
  } cases[] = {
      // Open twos: own 48 + offset; the opponent's 48 next to its stone, 42 apart.
      {"own two", lone, kBlack, 0, 8, 53 + 3 * 17 + 4 * 12, 0},
      {"other two adjacent", lone, kWhite, 1, 8, 48 + 3 * 12 + 4 * 12, 0},
      {"other two apart", lone, kWhite, 1, 9, 42 + 3 * 12 + 4 * 12, 0},
      {"single", lone, kBlack, 0, 10, 41 + 3 * 17 + 4 * 12, 0},
      // Fours: the chooser's own lose 20 without an adjacent stone; the opponent's do not.
      {"own four adjacent", gapFour, kBlack, 0, 7, 180 + 3 * 17 + 48, 0},
      {"own four apart", three, kBlack, 0, 9, 160 + 3 * 17 + 48, 0},
      {"other four apart", three, kWhite, 1, 9, 160 + 3 * 12 + 48, 0},
      // Open threes; Black's for White 175 x 1.2, 175 x 1.1, then 165; apart 175 / 2.5.
      {"own three adjacent", two, kBlack, 0, 8, 195 + 3 * 17 + 48, 0},
      {"own three late", two, kBlack, 30, 8, 175 + 3 * 12 + 48, 0},
      {"own three apart", two, kBlack, 0, 9, 175 + 3 * 17 + 48, 0},
      {"White's three", whiteTwo, kBlack, 0, 8, 165 + 36 + 4 * 17, 0},
      {"White's three apart", whiteTwo, kBlack, 0, 9, 55 + 36 + 4 * 17, 0},
      {"Black's three m<15", two, kWhite, 1, 8, 210 + 3 * 12 + 48, 0},
      {"Black's three m<25", two, kWhite, 21, 8, 192 + 3 * 12 + 48, 0},
      {"Black's three late", two, kWhite, 31, 8, 165 + 3 * 12 + 48, 0},
      {"Black's three apart", two, kWhite, 1, 9, 70 + 3 * 12 + 48, 0},
      // Black's double three is forbidden: a penalty by chooser, no bonus. Black's four-three
      // and White's double three gain 300.
      {"forbidden, Black", doubleThree, kBlack, 0, 7, 2 * 195 + 2 * 17 + 4 * 12, -8000},
      {"forbidden, White", doubleThree, kWhite, 1, 7, 2 * 210 + 2 * 12 + 4 * 12, -150},
      {"four-three", fourThree, kBlack, 0, 7, 180 + 195 + 2 * 17 + 48 + 300, 0},
      {"White's double", whiteDoubleThree, kBlack, 0, 7, 4 * 17 + 2 * 165 + 2 * 12 + 300, 0},
  };
  for (const auto& tc : cases) {
    ScoreTable scores;
    ScoreTable local;
    PatternSums(tc.colour, tc.moveCount, tc.pos, scores, local);
    EXPECT_EQ(local[7][tc.col], tc.local) << tc.name;
    EXPECT_EQ(scores[7][tc.col], tc.score) << tc.name;
  }
}

TEST(PatternSums, LaterFiveOrStraightFourInTheScanSetsTheScore) {
  // At (7, 7) Black's five lies along the row (direction 0) and White's straight four along the
  // column (direction 1), or the other way round; or both make five along the row, where
  // White's code comes after Black's.
  const Position fiveInRow = Stones("7,3 7,4 7,5 7,6", "4,7 5,7 6,7");
  const Position fiveInColumn = Stones("3,7 4,7 5,7 6,7", "7,4 7,5 7,6");
  const Position twoFives = Stones("7,3 7,4 7,5 7,6", "7,8 7,9 7,10 7,11");
  for (const auto& [pos, colour, score] : {std::tuple{&fiveInRow, kBlack, 1500},
                                           {&fiveInColumn, kBlack, 9000},
                                           {&twoFives, kBlack, 7000},
                                           {&fiveInRow, kWhite, 1800},
                                           {&fiveInColumn, kWhite, 7000},
                                           {&twoFives, kWhite, 9000}}) {
    ScoreTable scores;
    ScoreTable local;
    PatternSums(colour, 10, *pos, scores, local);
    EXPECT_EQ(scores[7][7], score);
  }
}

TEST(ChooseMove, EmptyBoardScoresByRing) {
  // Every point sums eight codes of 1: 116 for Black at move 0, 96 for White late in the game.
  // Inner points add a twelfth of their 5 x 5 neighbourhood; the third ring loses 50, the outer
  // ring 80.
  for (const auto& [colour, moveCount, sum] : {std::tuple{kBlack, 0, 116}, {kWhite, 31, 96}}) {
    EngineState state = EngineAt(Position(), moveCount);
    ScoreTable scores;
    ChooseMove(state, colour, state.position, scores);
    for (int k = 0; k < kBoardSize; ++k)
      EXPECT_EQ(scores[k][14], sum - 80);
    EXPECT_EQ(scores[13][7], sum);
    EXPECT_EQ(scores[7][12], sum + 25 * sum / 12 - 50);
    EXPECT_EQ(scores[3][3], sum + 25 * sum / 12);
  }
}

// A game's engine state, so that the move list and the game's board agree with the position.
struct ChooseMoveInGame : ::testing::Test {
  EngineState state;
  ScoreTable scores;

  MoveChoice Choose(const std::vector<Point>& moves, int seed) {
    const SearchSettings settings = state.settings;
    state = test::EngineAfter(moves);
    state.settings = settings;
    state.random.Seed(static_cast<std::uint32_t>(seed));
    const int colour = state.moveCount % 2 == 0 ? kBlack : kWhite;
    return ChooseMove(state, colour, state.position, scores);
  }
};

// With seed 1 the generator gives 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358.
TEST_F(ChooseMoveInGame, OpeningRules) {
  const struct {
    std::vector<Point> moves;
    std::optional<Point> expected;  // nothing: the choice is left to the scores
  } cases[] = {
      {{{7, 7}}, Point{8, 8}},           // 41 % 3, 18467 % 3: one down, one right
      {{{14, 14}}, Point{13, 13}},       // (15, 15) off the board, (14, 14) taken, (15, 14) off
      {{{7, 7}, {6, 7}}, Point{9, 5}},   // rows and columns 5 + rand() % 5: (6, 7) taken
      {{{7, 7}, {5, 7}}, std::nullopt},  // a second stone away from the centre
  };
  for (const auto& tc : cases) {
    const MoveChoice choice = Choose(tc.moves, 1);
    ASSERT_TRUE(choice.point);
    EXPECT_EQ(choice.count == 0 ? choice.point : std::nullopt, tc.expected);
  }
  // A search's copy with the first stone's 3 x 3 area filled: the scores choose.
  state = test::EngineAfter(std::vector<Point>{{0, 0}});
  const Position copy = Stones("0,0 1,1", "0,1 1,0");
  const MoveChoice choice = ChooseMove(state, kWhite, copy, scores);
  ASSERT_TRUE(choice.point);
  EXPECT_GE(choice.count, 1);
  EXPECT_LE(copy.board[choice.point->row][choice.point->col], 0);
}

TEST_F(ChooseMoveInGame, SameSeedSameChoice) {
  const std::vector<Point> moves = {{7, 7}, {6, 8}, {8, 8}, {8, 6}, {6, 6},
                                    {9, 9}, {8, 7}, {9, 7}, {5, 5}, {4, 4}};
  const MoveChoice first = Choose(moves, 7);
  ASSERT_TRUE(first.point);
  EXPECT_EQ(*Choose(moves, 7).point, *first.point);
  // The draw picks rand() % topCount among the ranked candidates; without it, the first.
  Random expected(7);
  EXPECT_EQ(*first.point, first.candidates[expected.Next() % first.topCount]);
  state.settings.randomChoice = false;
  EXPECT_EQ(*Choose(moves, 7).point, first.candidates[0]);
}

// A point scoring exactly 90 below the best is still a candidate, and it can change the choice.
// Here i10 scores 427, 90 below h10's 517: ranked last (key 457), it is within 100 of the top
// key (546), and with it in the list the partition sort puts h10 ahead of g10, whose key is the
// same. The position is from a game ChooseMove played against itself from h8 (generator seeded
// with 132), after 8 moves; Black to choose.
TEST_F(ChooseMoveInGame, CandidateExactlyAtTheMargin) {
  state.settings.randomChoice = false;
  const MoveChoice choice = Choose(test::Rif("h8 h7 h9 g8 f9 g9 g7 i9"), 1);
  int best = 0;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (state.position.board[r][c] == kEmpty) best = std::max(best, scores[r][c]);
    }
  }
  const Point h10{5, 7};
  const Point g10{5, 6};
  const Point i10{5, 8};
  EXPECT_EQ(best, 517);
  EXPECT_EQ(scores[h10.row][h10.col], best);
  EXPECT_EQ(scores[i10.row][i10.col], best - 90);
  EXPECT_EQ(choice.count, 32);
  EXPECT_EQ(choice.topCount, 3);
  EXPECT_EQ(choice.candidates[choice.count - 1], i10);
  EXPECT_EQ(choice.candidates[0], h10);
  EXPECT_EQ(choice.candidates[1], g10);
  EXPECT_EQ(choice.point, h10);
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
  EngineState state = EngineAt(pos, 100);
  ScoreTable scores;
  EXPECT_FALSE(ChooseMove(state, kBlack, pos, scores).point);
  EXPECT_EQ(ChooseMove(state, kWhite, pos, scores).point, (Point{0, 3}));
}

}  // namespace
}  // namespace zel
