#include "search/threat_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "patterns/line_codes.h"
#include "patterns/near_points.h"
#include "search/choose_move.h"
#include "search/think.h"
#include "support/engine_state.h"
#include "support/positions.h"
#include "threats/answers.h"

namespace zel {
namespace {

using test::Rif;
using test::SideToMove;

// The search's answer for the side to move of the game in state.
SearchResult Reply(EngineState& state) {
  const Thought thought = zel::Think(state, ThreatInventory{});
  EXPECT_TRUE(thought.result.has_value());
  return thought.result.value_or(SearchResult{-1, -1, 0, 0});
}

// A game holding the moves, with the generator seeded.
class SearchTest : public ::testing::Test {
 protected:
  void Load(std::string_view moves) { state_ = test::EngineAfter(Rif(moves)); }

  SearchResult Root(SearchCall call) {
    call.last = state_.moveList[state_.moveCount];
    call.previous = state_.moveList[state_.moveCount - 1];
    ThreatSearch search(state_);
    const SearchResult result = SideToMove(state_) == kBlack
                                    ? search.SearchBlack(call, {}, state_.position)
                                    : search.SearchWhite(call, {}, state_.position);
    nodes_ = search.nodes();
    return result;
  }

  SearchResult Think() { return Reply(state_); }

  // The point ChooseMove picks for the side to move, without random choice.
  Point Chosen() {
    ScoreTable scores;
    return *ChooseMove(state_, SideToMove(state_), state_.position, scores).point;
  }

  EngineState state_;
  std::int64_t nodes_ = 0;
};

// Black's four-three point h8: a four e8-g8 (closed at d8) and a three h10-h9.
constexpr const char* kFourThree = "e8 d8 f8 a1 g8 o1 h10 a15 h9 o15";

struct AtOnceCase {
  const char* name;
  const char* moves;
  SearchResult expected;  // row and column -1: the one-ply choice's point
  int depth = 0;          // of the call
  int level = 10;
  int extension = 6;
};

// Positions the root decides without a child search: a five of the side to move wins first; an
// opponent's five that cannot be blocked loses with the one-ply choice; a four-three counts as
// a win at the last plies; beyond the depth bound nothing is looked at.
TEST_F(SearchTest, DecidedAtOnce) {
  const AtOnceCase cases[] = {
      {"black five point", "h8 a1 i8 a3 j8 a5 k8 a7", {7, 6, 3, 1}},
      {"black five before white's", "h8 h3 i8 i3 j8 j3 k8 k3", {7, 6, 3, 1}},
      {"white five point", "a1 h8 a3 i8 a5 j8 o15 k8 o13", {7, 6, -3, 1}},
      {"two white five points", "a1 i10 o1 j10 a15 k10 o15 l10", {-1, -1, -3, 1}},
      // White's four i7-l4 has one five point, h8, where Black would make a double three.
      {"white five on a forbidden point", "f8 i7 g8 j6 h10 k5 h9 l4 m3 a15", {-1, -1, -3, 1}},
      {"four-three at the last plies", kFourThree, {7, 7, 3, 1}, 0, 1, 0},
      {"depth bound", kFourThree, {0, 0, 0, 17}, 17},
  };
  for (const AtOnceCase& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.moves);
    state_.settings.randomChoice = false;
    state_.settings.searchLevel = c.level;
    state_.settings.fourExtension = c.extension;
    SearchResult expected = c.expected;
    if (expected.row < 0) {
      const Point chosen = Chosen();
      expected.row = chosen.row;
      expected.col = chosen.col;
    }
    SearchCall call;
    call.depth = c.depth;
    EXPECT_EQ(Root(call), expected);
    EXPECT_EQ(nodes_, 1);
  }
}

TEST_F(SearchTest, BlockingASingleFivePoint) {
  // White's four h8-k8 is closed at g8: Black must take l8.
  Load("g8 h8 a1 i8 a3 j8 a5 k8");
  EXPECT_EQ(Think().point(), (Point{7, 11}));
}

// A five point that must be blocked at the root is searched with fours only after the block:
// White's double three at f12 wins, but is left to White's own search.
TEST_F(SearchTest, ForcedBlockAtTheRootLooksOnlyAtFours) {
  // White's four h8-k8 is closed at g8; White's twos d12-e12 and f13-f14 meet at f12.
  Load("g8 h8 o1 i8 o4 j8 o7 k8 o10 d12 o13 e12 a1 f14 a4 f13");
  const SearchResult block = Think();
  EXPECT_EQ(block, (SearchResult{7, 11, 0, 1}));
  test::PlayMove(state_, block.point());
  EXPECT_EQ(Think(), (SearchResult{3, 5, -3, 3}));
}

// Through move 9 the search runs at level 12 at least, from move 10 at the level set; the
// settings are as they were afterwards.
TEST_F(SearchTest, EarlyMovesSearchAtLevelTwelve) {
  for (const char* moves : {"h8 h9 i8 g7 j8 k8 g8 f8 i7", "h8 h9 i8 g7 j8 k8 g8 f8 i7 j6"}) {
    SCOPED_TRACE(moves);
    Load(moves);
    std::int64_t nodesAt[2] = {};
    for (const int level : {10, 12}) {
      state_.settings.searchLevel = level;
      state_.random.Seed(1);
      Root({});
      nodesAt[level == 12] = nodes_;
    }
    ASSERT_NE(nodesAt[0], nodesAt[1]);  // the level shows in the node count
    state_.settings.searchLevel = 10;
    state_.random.Seed(1);
    const Thought thought = zel::Think(state_, ThreatInventory{});
    EXPECT_EQ(thought.nodes, nodesAt[state_.moveCount <= 9]);
    EXPECT_EQ(state_.settings.searchLevel, 10);
  }
}

TEST_F(SearchTest, FoursOnlyEndsWithTheLastFourTried) {
  // Black's three e8-g8 is closed at h8: fours at c8 and d8, neither of them winning.
  Load("e8 h8 f8 a1 g8 o1");
  SearchCall call;
  call.blackLevel = kFoursOnly;
  EXPECT_EQ(Root(call), (SearchResult{7, 3, 0, 0}));
}

TEST_F(SearchTest, NoAnswerLosesSoTheOnePlyChoiceIsPlayed) {
  // Black's open three f8-h8: without quiet moves Black has nothing after either of White's
  // answers (e8, i8), so White plays its own one-ply choice.
  Load("f8 a1 g8 o1 h8");
  state_.settings.randomChoice = false;
  state_.settings.quietMoves = false;
  const Point chosen = Chosen();
  // Depth 1 marks the one-ply choice; an answer would carry its line's depth.
  EXPECT_EQ(Root({}), (SearchResult{chosen.row, chosen.col, 0, 1}));
}

TEST_F(SearchTest, TwoFourThreesCannotBothBeStopped) {
  // White has four-three points at g13 (row 2) and i3 (row 12), far apart; Black has no four to
  // counter with, so every answer loses and the search says so.
  Load("c13 d13 m3 e13 a15 f13 o1 g12 f15 g11 c6 l3 a9 k3 n10 j3 o8 i4 g1 i5");
  ASSERT_EQ(SideToMove(state_), kBlack);
  const SearchResult result = Think();
  EXPECT_EQ(result.value, -3);
  const Point answers[] = {{2, 6}, {2, 7}, {1, 6}, {5, 6}, {12, 8}, {12, 7}, {13, 8}, {9, 8}};
  EXPECT_NE(std::find(std::begin(answers), std::end(answers), result.point()), std::end(answers))
      << result.row << "," << result.col;
}

TEST_F(SearchTest, QuickDefenceWithThreeAnswers) {
  // White's f8 g8 _ i8: h8 makes a straight four, answered at h8, e8 and j8. Blocking at h8
  // holds, and neither other answer is a Black threat, so the search stops there: the result is
  // the answer with its line's depth, not the one-ply choice with depth 1.
  Load("a1 f8 o1 g8 a15 i8");
  state_.settings.randomChoice = false;
  const SearchResult result = Root({});
  EXPECT_EQ(result.point(), (Point{7, 7}));
  EXPECT_NE(result.value, -3);
  EXPECT_NE(result.depth, 1);
}

TEST_F(SearchTest, FindsADefenceAgainstAnOpenThree) {
  // Black's open three h8-j8 must be stopped at g8 or k8; afterwards Black has no win.
  Load("h8 i9 i8 g9 j8");
  const SearchResult defence = Think();
  EXPECT_NE(defence.value, 3);
  EXPECT_TRUE(defence.point() == (Point{7, 6}) || defence.point() == (Point{7, 10}))
      << defence.row << "," << defence.col;
  test::PlayMove(state_, defence.point());
  EXPECT_NE(Think().value, 3);
}

// Counts what the search hands to the world outside: pending-message pumps and trace entries.
class RecordingHooks final : public SearchHooks {
 public:
  void PumpOneMessage() override { ++pumps; }
  void RecordTrace(int index, int, int, int, int) override { indexes.push_back(index); }

  int pumps = 0;
  std::vector<int> indexes;
};

TEST_F(SearchTest, HooksSeeEveryEntryAndThePumpAtDepthSix) {
  // A long forced line reaches depth 6; a five at the root does not.
  const struct {
    const char* moves;
    bool deep;
  } cases[] = {{"g7 g5 h8 h6 i7 i6 j10 j7 j8 j9 k8 k11 l10 l8", true},
               {"h8 a1 i8 a3 j8 a5 k8 a7", false}};
  for (const auto& c : cases) {
    Load(c.moves);
    RecordingHooks hooks;
    state_.hooks = &hooks;
    Think();
    state_.hooks = nullptr;
    // Entry indexes are the trace count at each hand-over: each exactly once, from 0 on.
    std::sort(hooks.indexes.begin(), hooks.indexes.end());
    std::vector<int> expected(static_cast<size_t>(state_.traceCount));
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(hooks.indexes, expected);
    EXPECT_EQ(hooks.pumps > 0, c.deep) << c.moves;
  }
}

// Plays the attacker's searched moves against every listed answer of the defender, and succeeds
// when every line ends in a five the defender cannot stop.
::testing::AssertionResult WinsAgainstEveryDefence(EngineState& game, int attacker, int movesLeft) {
  const SearchResult r = Reply(game);
  if (movesLeft == 0 || r.value != (attacker == kBlack ? 3 : -3)) {
    return ::testing::AssertionFailure() << "no win found after " << game.moveCount << " moves";
  }
  const Position& pos = game.position;
  auto has = [&](int colour, Point p, int code) {
    const PatternEntry c = pos.Entry(colour, p.row, p.col);
    return std::find(c.begin(), c.begin() + kDirections, code) != c.begin() + kDirections;
  };
  if (has(attacker, r.point(), kFive)) return ::testing::AssertionSuccess();
  test::PlayMove(game, r.point());

  // A four must be blocked at its five point; a three is met by the answers to its straight-four
  // points; after a quiet move the defender may play anywhere near it.
  const int defender = Opponent(attacker);
  auto playable = [&](Point p) { return defender == kWhite || pos.board[p.row][p.col] == kEmpty; };
  bool defenderFive = false;
  std::vector<Point> fives;
  std::vector<Point> replies;
  for (int row = 0; row < kBoardSize; ++row) {
    for (int col = 0; col < kBoardSize; ++col) {
      const Point p{row, col};
      if (pos.board[row][col] > 0) continue;
      defenderFive = defenderFive || has(defender, p, kFive);
      if (has(attacker, p, kFive)) fives.push_back(p);
      if (has(attacker, p, kStraightFour)) {
        AnswerList list;
        list[0] = p;
        replies.insert(replies.end(), list.begin(),
                       list.begin() + AnswersToStraightFour(list, row, col, attacker, pos));
      }
    }
  }
  if (fives.size() == 1) replies = fives;
  if (fives.size() > 1 || (fives.size() == 1 && !playable(fives[0]))) replies.clear();
  if (fives.empty() && replies.empty()) {
    const NearPoints near = CollectNearPoints(kWindowMode, 5, r.row, r.col, pos);
    replies.assign(near.List().begin(), near.List().end());
  }
  ::testing::AssertionResult result = ::testing::AssertionSuccess();
  if (defenderFive) result = ::testing::AssertionFailure() << "the defender makes five first";
  for (const Point reply : replies) {
    if (!result) break;
    if (!playable(reply)) continue;
    test::PlayMove(game, reply);
    result = WinsAgainstEveryDefence(game, attacker, movesLeft - 1);
    test::TakeBackMove(game);
    if (!result) result << " (after " << reply.row << "," << reply.col << ")";
  }
  test::TakeBackMove(game);
  return result;
}

struct WinCase {
  const char* name;
  const char* moves;  // the attacker is to move
  int maxMoves;
};

// Forced wins the search must find and that hold against every defence. Positions from
// junghyun397/mintaka@2a4cae050609 mintaka/tests/test_vcf.rs, renju-note/quintet@d8bdf3c36669
// src/mate/solve.rs (MIT) and lfz084/lfz084.github.io@b15820dbaf5a puzzle/json.
TEST_F(SearchTest, ForcedWinsHoldAgainstEveryDefence) {
  const WinCase cases[] = {
      {"four-three", kFourThree, 3},
      {"black fours (mintaka basic_vcf-1)", "g7 g5 h8 h6 i7 i6 j10 j7 j8 j9 k8 k11 l10 l8", 6},
      {"white fours (quintet test_vcf_white)",
       "g8 f8 g9 h10 h8 h9 i9 i10 j10 i11 j9 j12 k13 l10 m11 l12 m12 l14 m9", 7},
      {"black threes (lfz084 HT/017)", "g7 f8 g8 h7 h8 h9 i7 i9 i8 j6", 6},
      {"white threes (lfz084 HT/029)", "h10 h9 h11 i11 h8 i12 i13 i5 j11 i6 j7 k9 k8", 6},
  };
  for (const WinCase& c : cases) {
    SCOPED_TRACE(c.name);
    Load(c.moves);
    EXPECT_TRUE(WinsAgainstEveryDefence(state_, SideToMove(state_), c.maxMoves));
  }
}

}  // namespace
}  // namespace zel
