#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "patterns/update.h"
#include "search/choose_move.h"
#include "support/engine_state.h"

namespace zel {
namespace {

using test::EngineAt;

TEST(CombineTrialSums, SinglePrecisionFactorsTruncatedTowardZero) {
  for (const auto& [colour, moveCount, sums, value] :
       {std::tuple{kBlack, 15, TrialSums{20, 0, 10, 0}, 12},  // 10 x 1.3f = 12.9999995, not 13
        {kBlack, 16, TrialSums{20, 0, 10, 0}, 12},            // 1.2f lies above 1.2
        {kBlack, 24, TrialSums{20, 0, 10, 0}, 11},            // 1.1f
        {kBlack, 32, TrialSums{20, 0, 10, 0}, 10},            // 1.0f
        {kBlack, 0, TrialSums{10, 0, 20, 0}, -12},            // toward zero, not down
        {kBlack, 0, TrialSums{10, 30, 10, 35}, 5},  // White's gain counts for Black in full
        {kWhite, 0, TrialSums{10, 0, 20, 0}, 12},   // (B2 - B1) x f
        {kWhite, 0, TrialSums{0, 35, 0, 30}, 5}}) {
    EXPECT_EQ(CombineTrialSums(colour, moveCount, sums), value) << colour << " at " << moveCount;
  }
}

// On an empty board a stone at (7, 7) lifts its own codes on the 32 near points by 3, 3, 2, 0
// out from it on each side of each line: a gain of 64 for the side that plays there, while the
// other side's codes stay 1. At (0, 0) three lines run one way, with codes 3, 3, 3, 1: 18.
TEST(TrialValue, GainsOfOnePlacement) {
  for (const auto& [colour, moveCount, point, value] :
       {std::tuple{kBlack, 0, Point{7, 7}, 147},  // 64 x 1.3f + 64
        {kWhite, 0, Point{7, 7}, -147},           // Black to move: -64 - 64 x 1.3f
        {kWhite, 1, Point{7, 7}, 147},            // White to move: the first stone is White's
        {kBlack, 0, Point{0, 0}, 41}}) {          // 18 x 1.3f + 18
    EXPECT_EQ(TrialValue(EngineAt(Position(), moveCount), colour, point.row, point.col, {}), value)
        << colour << " at " << moveCount;
  }
  // The near points come from the game's board: its stone at (7, 9), which the position handed
  // in lacks, leaves out a gain of 3 for each side. 61 x 1.3f + 61 = 140.3.
  EngineState state = EngineAt(Position(), 0);
  UpdatePatterns(state.position, 7, 9, kWhite);
  EXPECT_EQ(TrialValue(state, kBlack, 7, 7, Position()), 140);
}

TEST(SortByKey, OrderAmongEqualKeysFollowsThePartitions) {
  using Keys = std::vector<int>;
  using Points = std::vector<Point>;
  constexpr Point a{0, 1}, b{0, 2}, c{0, 3}, d{0, 4};
  for (auto [keys, points, order, sortedKeys, sortedPoints] :
       {std::tuple{Keys{5, 5, 5}, Points{a, b, c}, SortOrder::kDescending, Keys{5, 5, 5},
                   Points{b, a, c}},
        {Keys{1, 3, 3, 2}, Points{a, b, c, d}, SortOrder::kDescending, Keys{3, 3, 2, 1},
         Points{b, c, d, a}},
        {Keys{2, 1, 2, 1}, Points{a, b, c, d}, SortOrder::kDescending, Keys{2, 2, 1, 1},
         Points{c, a, b, d}},  // the middle key is the pivot
        {Keys{2, 1, 2}, Points{a, b, c}, SortOrder::kAscending, Keys{1, 2, 2}, Points{b, c, a}}}) {
    SortByKey(0, static_cast<int>(keys.size()) - 1, keys, points, order);
    EXPECT_EQ(keys, sortedKeys);
    EXPECT_EQ(points, sortedPoints);
  }
}

TEST(RankCandidates, KeysAddTheWeightedTrialAndNarrowTheCounts) {
  // Empty board, Black at move 0: the trial adds 147 x 4 / 15 = 39 at (5..9, 5..9) and
  // 41 x 4 / 15 = 10 at (0, 0).
  ScoreTable scores{};
  MoveChoice choice;
  for (const auto& [point, score] : {std::pair{Point{0, 0}, 230},
                                     {{5, 5}, 185},
                                     {{5, 6}, 101},
                                     {{6, 5}, 100},
                                     {{6, 6}, 186},
                                     {{7, 7}, 200},
                                     {{9, 9}, -5000}}) {
    scores[point.row][point.col] = score;
    choice.candidates[choice.count++] = point;
  }
  RankCandidates(EngineAt(Position(), 0), kBlack, Position(), scores, choice);
  // Keys 240, 239, 225, 224, 140, 139, -4961: within 100 of 240 the first four, within 15 the
  // first two. A negative key ranks last.
  const std::vector<Point> ranked = {{0, 0}, {7, 7}, {6, 6}, {5, 5}, {5, 6}, {6, 5}, {9, 9}};
  EXPECT_EQ(std::vector<Point>(choice.candidates.begin(), choice.candidates.begin() + 7), ranked);
  EXPECT_EQ(choice.count, 4);
  EXPECT_EQ(choice.topCount, 2);
}

}  // namespace
}  // namespace zel
