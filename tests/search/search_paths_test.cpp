// Paths of the threat search that only some positions reach: the counter-four check at the root,
// the reserve four, the root's result against straight fours, the quiet candidates at ply 2 and
// the message pump at depth 6. The tactical positions are puzzles from
// lfz084/lfz084.github.io@b15820dbaf5a puzzle/json (no license stated), given by their id in the
// puzzle files: the stones, Black first, then the first moves of the solution line. The quiet
// positions come from games that ChooseMove played against itself from h8, generator seeded
// with the game's number.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <vector>

#include "patterns/line_codes.h"
#include "patterns/update.h"
#include "search/choose_move.h"
#include "search/think.h"
#include "search/threat_search.h"
#include "support/engine_state.h"
#include "support/positions.h"
#include "threats/answers.h"

namespace zel {
namespace {

using test::Rif;

// What the search hands to the world outside, and the nodes entered at depths 5 and 6. A node
// at depth d notes its move in the scratch entry moveCount + d when it enters, before the move
// that entered it is traced at ply d; clearing the entry after each trace at ply d tells a node's
// entry apart from a result decided without one. (The root reads those entries only to frame its
// quiet moves after a loss, which none of these positions reaches: their results and node counts
// are those of a search without the recorder.)
class Recorder final : public SearchHooks {
 public:
  struct Entry {
    int index;
    int ply;
    Point point;
    int value;
  };

  explicit Recorder(EngineState& state) : state_(state) {
    for (const int depth : {5, 6})
      state.moveList[state.moveCount + depth] = kNoPoint;
  }

  // The trace entry reserved by the move that entered the pumping node.
  void PumpOneMessage() override { pumps.push_back(state_.traceCount - 1); }

  void RecordTrace(int index, int ply, int row, int col, int value) override {
    const Point p{row, col};
    entries.push_back({index, ply, p, value});
    if (ply != 5 && ply != 6) return;
    Point& scratch = state_.moveList[state_.moveCount + ply];
    if (scratch == p) ++entered[ply];
    scratch = kNoPoint;
  }

  // The root's own entry k from the last (0: the last); an off-board entry when there is none.
  Entry RootFromEnd(int k) const {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      if (it->ply == 1 && k-- == 0) return *it;
    }
    return {-1, 1, kNoPoint, 0};
  }

  std::vector<int> pumps;
  std::vector<Entry> entries;
  std::array<int, 7> entered{};

 private:
  EngineState& state_;
};

struct Searched {
  SearchResult result;
  std::int64_t nodes = 0;
};

// The search for the side to move of the game in state, with the recorder listening.
Searched Search(EngineState& state, Recorder& recorder) {
  state.hooks = &recorder;
  const Thought thought = Think(state, ThreatInventory{});
  state.hooks = nullptr;
  EXPECT_TRUE(thought.result.has_value());
  return {thought.result.value_or(SearchResult{-1, -1, 0, 0}), thought.nodes};
}

// The search, which must answer `expected` after visiting `nodes` nodes.
Searched SearchExpecting(EngineState& state, Recorder& recorder, const SearchResult& expected,
                         std::int64_t nodes) {
  const Searched searched = Search(state, recorder);
  EXPECT_EQ(searched.result, expected);
  EXPECT_EQ(searched.nodes, nodes);
  return searched;
}

bool HasCode(const EngineState& state, int colour, Point p, bool (*test)(int)) {
  const PatternEntry codes = state.position.Entry(colour, p.row, p.col);
  return std::any_of(codes.begin(), codes.begin() + kDirections, test);
}

// A four of `colour` at p (for Black on an unmarked point).
bool IsFourPoint(const EngineState& state, int colour, Point p) {
  if (colour == kBlack && state.position.board[p.row][p.col] != kEmpty) return false;
  return HasCode(state, colour, p, IsFourCode);
}

// Whether p is the attacker's straight-four point or one of the points that spoil it.
bool AnswersAStraightFour(const EngineState& state, int attacker, Point p) {
  const ThreatInventory inventory = test::Scan(state.position);
  const int kind = attacker == kBlack ? kBlackStraightFours : kWhiteStraightFours;
  for (const ThreatEntry& e : inventory.List(kind)) {
    AnswerList answers;
    answers[0] = {e.row, e.col};
    const int count = AnswersToStraightFour(answers, e.row, e.col, attacker, state.position);
    if (std::find(answers.begin(), answers.begin() + count, p) != answers.begin() + count) {
      return true;
    }
  }
  return false;
}

struct RootCase {
  const char* name;
  const char* moves;
  SearchResult expected;
  std::int64_t nodes;
};

// Every answer to the opponent's straight four loses, but a four of the side to move that also
// takes a point of the opponent's threat holds: the root reports it as a defence. In both
// positions it is the defender's next move of the source's solution line.
TEST(SearchPathsTest, CounterFourRefutesALostDefence) {
  const RootCase cases[] = {
      // 冈部宽连珠习题/082 after h5 i5 j7 l9 j6: j10 is a four f6-g7-h8-_-j10 on White's j-file.
      {"black", "d5 e5 f6 f5 f9 g5 g4 h6 g7 i6 h8 j8 h9 k8 i7 h5 i5 j7 l9 j6", {5, 9, -2, 2}, 11},
      // ひとりでも楽しめる詰連珠の部屋/455 after g6 f5 h6 h5 g5: k5 is a four h5-k5.
      {"white", "f9 g7 h7 g8 h8 h10 h9 i10 i6 i5 i7 i9 j9 j5 g6 f5 h6 h5 g5", {10, 10, 2, 2}, 11},
  };
  for (const RootCase& c : cases) {
    SCOPED_TRACE(c.name);
    EngineState state = test::EngineAfter(Rif(c.moves));
    const int us = test::SideToMove(state);
    const int loss = us == kBlack ? -3 : 3;
    Recorder recorder(state);
    SearchExpecting(state, recorder, c.expected, c.nodes);

    // The last answer tried lost; the counter four, tried after it, did not.
    const Recorder::Entry answer = recorder.RootFromEnd(1);
    const Recorder::Entry counter = recorder.RootFromEnd(0);
    EXPECT_TRUE(AnswersAStraightFour(state, Opponent(us), answer.point));
    EXPECT_EQ(answer.value, loss);
    EXPECT_EQ(counter.point, c.expected.point());
    EXPECT_NE(counter.value, loss);
    const Point p = c.expected.point();
    EXPECT_TRUE(IsFourPoint(state, us, p));
    EXPECT_TRUE(HasCode(state, Opponent(us), p, IsThreat));
  }
}

// The counter-four check's search of the four q of the side to move at the root: the opponent
// answers, with the side to move held to fours near its last stone.
SearchResult CounterFourReply(EngineState& state, Point q) {
  const int us = test::SideToMove(state);
  SearchCall call;
  call.depth = 1;
  call.last = q;
  call.previous = state.moveList[state.moveCount];
  call.Level(us) = kFoursOnly;
  call.Reach(us) = 1;
  ThreatSearch search(state);
  const ThreatInventory root = test::Scan(state.position);
  return us == kBlack ? search.SearchWhite(call, root, state.position)
                      : search.SearchBlack(call, root, state.position);
}

struct CheckedFour {
  const char* point;
  int replyDepth;  // where the opponent's win ends after the four; 0: the four holds
};

struct DelayCase : RootCase {
  int lossDepth;                   // the best answer's loss
  std::vector<CheckedFour> fours;  // the fours the check tries, in order
};

// A counter four after which the opponent still wins, no more than two plies later than against
// the best answer (the four and its block), only delays the loss: the check goes on to the next
// four. Black finds a later four that holds; White finds none and reports the loss.
TEST(SearchPathsTest, CounterFourThatOnlyDelaysTheLoss) {
  const DelayCase cases[] = {
      // 黑先VCF/441 after l4 n4 i5 k3 j5 k5 g5 f5 g9 g6: every answer to White's four
      // straight-four points loses at ply 2; after the fours h9 and j9 White wins at ply 4, after
      // j7 it does not.
      {{"black",
        "g3 f8 g7 h11 g8 h3 h5 h7 h6 h8 i9 i10 j2 i4 j4 i7 j8 j3 k4 k6 k9 k7 l5 n5 m4 n6 l4 n4 "
        "i5 k3 j5 k5 g5 f5 g9 g6",
        {8, 9, -2, 2},
        84},
       2,
       {{"h9", 4}, {"j9", 4}, {"j7", 0}}},
      // 珠々の詰連珠/186 after k9 l10 i8 i6 j6: of the answers to Black's two straight-four
      // points the better, g9, loses at ply 4; after the four i10 Black wins at ply 6, after k10
      // at ply 4.
      {{"white",
        "g6 f8 h6 g5 h8 h10 i7 h9 i9 j10 j5 j7 j8 k6 k11 l7 k7 m6 k9 l10 i8 i6 j6",
        {6, 6, 3, 4},
        23},
       4,
       {{"i10", 6}, {"k10", 4}}},
  };
  for (const DelayCase& c : cases) {
    SCOPED_TRACE(c.name);
    EngineState state = test::EngineAfter(Rif(c.moves));
    const int us = test::SideToMove(state);
    const int loss = us == kBlack ? -3 : 3;
    Recorder recorder(state);
    const Searched searched = SearchExpecting(state, recorder, c.expected, c.nodes);

    const int count = static_cast<int>(c.fours.size());
    for (int k = 0; k < count; ++k) {
      const CheckedFour& four = c.fours[k];
      SCOPED_TRACE(four.point);
      const Point q = Rif(four.point)[0];
      EXPECT_TRUE(IsFourPoint(state, us, q));
      EXPECT_TRUE(HasCode(state, Opponent(us), q, IsThreat));
      // The root's last entries are the check's fours.
      const Recorder::Entry tried = recorder.RootFromEnd(count - 1 - k);
      EXPECT_EQ(tried.point, q);
      const SearchResult reply = CounterFourReply(state, q);
      if (four.replyDepth == 0) {
        EXPECT_NE(reply.value, loss);
        EXPECT_EQ(q, searched.result.point());
      } else {
        EXPECT_EQ(tried.value, loss);
        EXPECT_EQ(reply.value, loss);
        EXPECT_EQ(reply.depth, four.replyDepth);
        EXPECT_LE(reply.depth, c.lossDepth + 2);
      }
    }
  }
}

struct DefenceCase : RootCase {
  Point counterFour;  // the four the counter-four check tried last, in vain; (-1, -1): none
};

// At the root, against the opponent's straight four: lost when every answer loses (after the
// counter-four check has found nothing), defended when an answer holds. Black reports the
// longest loss; White reports the depth of the last answer it tried. Each lost answer is the
// defender's next move in the source's solution line.
TEST(SearchPathsTest, RootDefenceAgainstStraightFours) {
  const DefenceCase cases[] = {
      // 入门-白先三手詰/006 after h12 h11 g13 i7 j6: f14 loses at ply 3 (the other answers at 2).
      {{"black lost",
        "e10 e11 e8 e13 f10 e9 f11 f9 f12 g10 g11 h10 g9 h13 h8 h9 i10 i11 i12 h12 h11 g13 i7 j6",
        {1, 5, -3, 3},
        14},
       {1, 5}},
      // 冈部宽连珠习题/016 after j9: g9 holds (depth 0), another answer loses at ply 5.
      {{"black defended", "f6 e6 f7 f8 g8 h7 h6 h9 h8 i7 j6 i9 j7 j9", {6, 6, -2, 0}, 58},
       {-1, -1}},
      // 一手の詰連珠HT/044 after f9 e8 e10: g8 loses at ply 3, the last answer tried at ply 2.
      {{"white lost",
        "d8 d4 e5 e6 f6 e7 f8 e9 g7 g6 h7 h9 h8 i10 j9 i9 f9 e8 e10",
        {7, 6, 3, 2},
        15},
       {7, 6}},
      // 連珠苦楽部詰連珠/054 as set: e9 holds (depth 0), the last answer tried loses at ply 3.
      {{"white defended", "f5 f8 f7 g6 f9 g8 g9 h6 h8 h7 h9 i5 i4 i6 j4 i8 j6", {6, 4, 2, 3}, 288},
       {-1, -1}},
  };
  for (const DefenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    EngineState state = test::EngineAfter(Rif(c.moves));
    const int us = test::SideToMove(state);
    Recorder recorder(state);
    const Searched searched = SearchExpecting(state, recorder, c.expected, c.nodes);
    EXPECT_TRUE(AnswersAStraightFour(state, Opponent(us), searched.result.point()));

    // Lost: the counter four was tried last, and lost too. Defended: the last answer tried lost,
    // after the one that held.
    const Recorder::Entry last = recorder.RootFromEnd(0);
    EXPECT_EQ(last.value, us == kBlack ? -3 : 3);
    if (OnBoard(c.counterFour)) {
      EXPECT_EQ(last.point, c.counterFour);
      EXPECT_TRUE(IsFourPoint(state, us, c.counterFour));
      EXPECT_TRUE(HasCode(state, Opponent(us), c.counterFour, IsThreat));
    } else {
      EXPECT_TRUE(AnswersAStraightFour(state, Opponent(us), last.point));
      EXPECT_NE(last.point, c.expected.point());
    }
  }
}

struct ReserveCase : RootCase {
  Point first;  // the first winning four found
};

// At the root, a win by fours is played from the winning line's next stone when that stone is
// off the first four's line: the first four stays in reserve. In both positions the point played
// is the attacker's next move in the source's solution line.
TEST(SearchPathsTest, ReserveFourAtTheRoot) {
  const ReserveCase cases[] = {
      // 異着・正着詰連珠/015 after h11 g11: f11 wins at ply 7, h10 (off its diagonal) at ply 5.
      {{"black",
        "e9 e10 f6 f8 g10 f9 h8 h12 h9 h6 i11 i7 i6 i9 i8 j7 k9 j9 l8 k8 h11 g11",
        {5, 7, 3, 5},
        11},
       {4, 5}},
      // 白先胜100题/001 after h10 i10 d10 e10 g11 g8: j14 wins at ply 4; g13 at once, its five
      // point g12 being forbidden to Black.
      {{"white",
        "e9 e11 f11 f10 f12 g10 f6 g7 g6 g9 h11 h12 h8 h9 i8 j7 i9 h10 i10 d10 e10 g11 g8",
        {2, 6, -3, 2},
        5},
       {1, 9}},
  };
  for (const ReserveCase& c : cases) {
    SCOPED_TRACE(c.name);
    EngineState state = test::EngineAfter(Rif(c.moves));
    const int us = test::SideToMove(state);
    Recorder recorder(state);
    SearchExpecting(state, recorder, c.expected, c.nodes);

    // The root's last two moves: the first winning four, then the reserve's partner.
    const Recorder::Entry first = recorder.RootFromEnd(1);
    const Recorder::Entry reserve = recorder.RootFromEnd(0);
    EXPECT_EQ(first.point, c.first);
    EXPECT_EQ(first.value, c.expected.value);
    EXPECT_EQ(reserve.point, c.expected.point());
    EXPECT_EQ(reserve.value, c.expected.value);

    const Point p = c.expected.point();
    EXPECT_TRUE(IsFourPoint(state, us, c.first));
    EXPECT_TRUE(IsFourPoint(state, us, p));
    const int dr = p.row - c.first.row;
    const int dc = p.col - c.first.col;
    EXPECT_FALSE(dr == 0 || dc == 0 || std::abs(dr) == std::abs(dc)) << "on the first four's line";
  }
}

struct QuietCase {
  const char* name;
  const char* moves;
  int level;  // the search level set before the search; 0: the default
  SearchResult expected;
  std::int64_t nodes;
  int tried;  // the candidates the opponent tries at ply 2
};

// Nothing forces either side: the root plays its one-ply choice, and the opponent at ply 2 tries
// the first 10 candidates of its own choice at levels up to 10, 14 at levels 11 and 12 (the level
// of the first nine moves), 18 beyond. Its value is that of the last candidate tried.
TEST(SearchPathsTest, QuietCandidatesAtPlyTwo) {
  // Game 18, 10 moves: the level is left as set.
  constexpr const char* kTen = "h8 h7 h9 g8 f9 g9 g7 f6 g6 g10";
  // Game 6, 13 moves: White's reply to Black's 10th candidate k8 is a defence (2), to the nine
  // before it nothing decisive; to the 14th nothing decisive.
  constexpr const char* kThirteen = "h8 h7 j9 g8 i6 g7 i7 g9 g6 h6 i5 i4 g11";
  const QuietCase cases[] = {
      {"10 stones", kTen, 0, {3, 6, 0, 0}, 70, 10},
      {"10 stones, level 11", kTen, 11, {3, 6, 0, 0}, 80, 14},
      {"10 stones, level 13", kTen, 13, {3, 6, 0, 0}, 132, 18},
      // Game 139, 9 moves: the level is raised to 12.
      {"9 stones", "h8 i9 g10 h9 g9 g8 i7 f10 i10", 0, {10, 10, 0, 0}, 38, 14},
      {"13 stones", kThirteen, 0, {6, 8, 2, 0}, 344, 10},
      {"13 stones, level 12", kThirteen, 12, {6, 8, 0, 0}, 2423, 14},
  };
  for (const QuietCase& c : cases) {
    SCOPED_TRACE(c.name);
    EngineState state = test::EngineAfter(Rif(c.moves));
    if (c.level > 0) state.settings.searchLevel = c.level;
    const int us = test::SideToMove(state);
    Recorder recorder(state);
    SearchExpecting(state, recorder, c.expected, c.nodes);

    // The root tried its choice alone; the one node at ply 2 tried the opponent's ranked
    // candidates from the first, and stopped short of the end of the list.
    std::vector<Point> atRoot;
    std::vector<Point> atPlyTwo;
    for (const Recorder::Entry& e : recorder.entries) {
      if (e.ply == 1) atRoot.push_back(e.point);
      if (e.ply == 2) atPlyTwo.push_back(e.point);
    }
    ASSERT_EQ(atRoot, std::vector<Point>{c.expected.point()});
    Position child = state.position;
    UpdatePatterns(child, c.expected.row, c.expected.col, us);
    ScoreTable scores;
    const MoveChoice choice = ChooseMove(state, Opponent(us), child, scores);
    ASSERT_GT(choice.count, c.tried);
    const std::vector<Point> first(choice.candidates.begin(), choice.candidates.begin() + c.tried);
    EXPECT_EQ(atPlyTwo, first);
  }
}

struct PumpCase {
  const char* name;
  const char* moves;
  SearchResult expected;
  std::int64_t nodes;
  int atFive;  // nodes entered at depth 5
  int atSix;   // and at depth 6
};

// One pending message is pumped on entering each node at depth 6, and at no other depth.
TEST(SearchPathsTest, PumpOnEnteringEachNodeAtDepthSix) {
  const PumpCase cases[] = {
      // 五子棋阶梯训练第一章/012 as set: Black's win is found along lines deeper than 6.
      {"deep", "g6 g7 h7 h5 h8 i7 j10 i9 j8 j7", {5, 7, 3, 9}, 167, 25, 29},
      // 一手の詰連珠HT/034 as set: the search reaches depth 5 and no further.
      {"depth five", "g10 g6 g8 h7 h8 h9 j10 i7 j6 i9 j7 k10 l9 k9", {6, 6, 3, 6}, 50, 17, 0},
  };
  for (const PumpCase& c : cases) {
    SCOPED_TRACE(c.name);
    EngineState state = test::EngineAfter(Rif(c.moves));
    Recorder recorder(state);
    SearchExpecting(state, recorder, c.expected, c.nodes);
    EXPECT_EQ(recorder.entered[5], c.atFive);
    EXPECT_EQ(recorder.entered[6], c.atSix);
    EXPECT_EQ(static_cast<int>(recorder.pumps.size()), recorder.entered[6]);

    // Each pump came from a distinct node, entered by a move traced at ply 6.
    std::map<int, int> plyOf;
    for (const Recorder::Entry& e : recorder.entries)
      plyOf[e.index] = e.ply;
    EXPECT_EQ(
        std::adjacent_find(recorder.pumps.begin(), recorder.pumps.end(), std::greater_equal<>()),
        recorder.pumps.end());
    for (const int index : recorder.pumps) {
      const auto traced = plyOf.find(index);
      EXPECT_TRUE(traced != plyOf.end() && traced->second == 6) << "pump at trace entry " << index;
    }
  }
}

}  // namespace
}  // namespace zel
