// The threat search through Think, on what the bench's positions do not reach. Puzzles are cited
// by id in lfz084/lfz084.github.io@b15820dbaf5a puzzle/json, deep wins by name in
// junghyun397/mintaka@2a4cae050609 mintaka/tests/test_vcf.rs; "game N": ChooseMove against itself
// from h8, generator seeded with N.
#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <tuple>
#include <vector>

#include "search/think.h"
#include "support/engine_state.h"
#include "support/positions.h"

namespace zel {
namespace {

// Counts the messages pumped, records the moves tried at the root, asks to stop at a node.
struct Recorder final : SearchHooks {
  void PumpOneMessage() override { ++pumps; }
  bool StopRequested() override { return ++asked == stopAt; }
  void RecordTrace(int, int ply, int row, int col, int) override {
    if (ply == 1) root.push_back({row, col});
  }
  int pumps = 0, asked = 0, stopAt = 0;
  std::vector<Point> root;
};

struct RootCase {
  const char* name;
  const char* moves;
  SearchResult expected;
  std::int64_t nodes;
  const char* lastTried = "";  // the root's last moves tried, in order
  int level = 10;              // raised to 12 through move 9
  int ext = 6;                 // four extension
  bool quiet = true;
  int pumps = -1;  // messages pumped; -1: not checked
  int stopAt = 0;  // the node where the hooks ask to stop; 0: never
};

// Thinks on a thread with a 256 KB stack (the search keeps its nodes off the stack at any
// depth); checks the result, the nodes, the root's last moves, the pumps, and that the settings
// are restored.
void ExpectSearch(const RootCase& c) {
  SCOPED_TRACE(c.name);
  EngineState state = test::EngineAfter(test::Rif(c.moves));
  SearchSettings& s = state.settings;
  std::tie(s.searchLevel, s.fourExtension, s.quietMoves) = std::tuple{c.level, c.ext, c.quiet};
  Recorder rec;
  rec.stopAt = c.stopAt;
  state.hooks = &rec;
  Thought t;
  std::function<void()> work = [&] { t = Think(state, ThreatInventory{}); };
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 256 * 1024);
  pthread_t thread;
  auto run = [](void* f) -> void* { return (*static_cast<std::function<void()>*>(f))(), nullptr; };
  ASSERT_EQ(pthread_create(&thread, &attr, run, &work), 0);
  pthread_join(thread, nullptr);
  EXPECT_EQ(std::tie(s.searchLevel, s.fourExtension), std::tie(c.level, c.ext));
  EXPECT_EQ(std::tuple(t.result, t.nodes, t.stopped),
            std::tuple(std::optional(c.expected), c.nodes, c.stopAt > 0));
  const std::vector<Point> tail = test::Rif(c.lastTried);
  ASSERT_GE(rec.root.size(), tail.size());
  EXPECT_EQ(std::vector<Point>(rec.root.end() - tail.size(), rec.root.end()), tail);
  EXPECT_EQ(c.pumps < 0 ? -1 : rec.pumps, c.pumps);
}

// Black's four-three point h8: a four e8-g8 (closed at d8) and a three h10-h9.
constexpr const char* kFourThree = "e8 d8 f8 a1 g8 o1 h10 a15 h9 o15";
// White's four h8-k8 closed at g8, and White's twos d12-e12, f13-f14 meeting at f12.
constexpr const char* kBlock = "g8 h8 o1 i8 o4 j8 o7 k8 o10 d12 o13 e12 a1 f14 a4 f13";
constexpr const char* kNine = "h8 h9 i8 g7 j8 k8 g8 f8 i7";
constexpr const char* kTen = "h8 h7 h9 g8 f9 g9 g7 f6 g6 g10";                // game 18
constexpr const char* kThirteen = "h8 h7 j9 g8 i6 g7 i7 g9 g6 h6 i5 i4 g11";  // game 6
constexpr const char* kDeepVcf2 =
    "a1 a10 a11 a12 a14 a15 a3 a8 a5 a9 b7 b1 c9 b9 e15 c1 f1 c10 h2 c8 h8 d1 i1 d8 i9 d9 k1 f14 "
    "l12 h13 m15 i6 m5 j14 m7 j7 n3 j8 n4 m11 o12 m14 o14 m9 o15 n13 o5 o2 o6 o4";

TEST(ThreatSearch, RootPaths) {
  // clang-format off
  const RootCase cases[] = {
      // A four-three wins without a search at the last two plies only.
      {"four-three, level 2 ext 0", kFourThree, {7, 7, 3, 1}, 1, "h8", 2, 0},
      {"four-three, level 3 ext 0", kFourThree, {7, 7, 3, 3}, 3, "h8", 3, 0},
      // A five blocked at the root is searched with fours only: White's winning double three f12
      // is left to White's own search.
      {"block at the root", kBlock, {7, 11, 0, 1}, 2, "l8"},
      // Through move 9 the level is at least 12. A search asked to stop unwinds at once, every
      // node after that answering as at the depth bound (the answer means nothing).
      {"move 9, level 10", kNine, {9, 7, 0, 0}, 12818},
      {"move 9, level 12", kNine, {9, 7, 0, 0}, 12818, "", 12},
      {"stopped at node 100", kNine, {9, 7, 0, 1}, 114, "", 12, 6, true, -1, 100},
      // Black's open three f8-h8: without quiet moves no answer (e8, i8) leads anywhere, so the
      // one-ply choice is played, with depth 1.
      {"no quiet moves", "f8 a1 g8 o1 h8", {7, 8, 0, 1}, 19, "", 12, 6, false},
      // Every answer to the straight four loses; a four that also takes a point of the
      // opponent's threat holds (冈部宽连珠习题/082, ひとりでも楽しめる詰連珠の部屋/455).
      {"counter four, black", "d5 e5 f6 f5 f9 g5 g4 h6 g7 i6 h8 j8 h9 k8 i7 h5 i5 j7 l9 j6",
       {5, 9, -2, 2}, 11, "j10"},
      {"counter four, white", "f9 g7 h7 g8 h8 h10 h9 i10 i6 i5 i7 i9 j9 j5 g6 f5 h6 h5 g5",
       {10, 10, 2, 2}, 11, "k5"},
      // Game 281: the answers lose at ply 8, the level less 2, where the check still runs.
      {"counter four, game 281", "h8 g7 f9 f8 e9 g9 g8 h7 e7 e6 i7 h6 i5 i8 g6 h4 h5 g5 i4 f7 i3 "
       "i6 j3 k2 k5 l6 l5 j5 k4", {9, 9, 2, 2}, 34, "n7 j6"},
      // A counter four that loses at most two plies later than the best answer only delays the
      // loss: h9 and j9 lose at ply 4 (best answer: 2), j7 holds (黑先VCF/441); i10 loses at 6
      // and k10 at 4 (best answer: 4), so White reports the loss (珠々の詰連珠/186).
      {"delaying four, black", "g3 f8 g7 h11 g8 h3 h5 h7 h6 h8 i9 i10 j2 i4 j4 i7 j8 j3 k4 k6 k9 "
       "k7 l5 n5 m4 n6 l4 n4 i5 k3 j5 k5 g5 f5 g9 g6", {8, 9, -2, 2}, 84, "h9 j9 j7"},
      {"delaying four, white", "g6 f8 h6 g5 h8 h10 i7 h9 i9 j10 j5 j7 j8 k6 k11 l7 k7 m6 k9 l10 "
       "i8 i6 j6", {6, 6, 3, 4}, 23, "i10 k10"},
      // Against a straight four: lost after the counter four f14 failed (入门-白先三手詰/006);
      // g9 holds (冈部宽连珠习题/016); White reports the depth of its last answer, 2, not the
      // best answer's 3 (一手の詰連珠HT/044); e9 holds (連珠苦楽部詰連珠/054).
      {"black lost", "e10 e11 e8 e13 f10 e9 f11 f9 f12 g10 g11 h10 g9 h13 h8 h9 i10 i11 i12 h12 "
       "h11 g13 i7 j6", {1, 5, -3, 3}, 14, "f14"},
      {"black defended", "f6 e6 f7 f8 g8 h7 h6 h9 h8 i7 j6 i9 j7 j9", {6, 6, -2, 0}, 58},
      {"white lost", "d8 d4 e5 e6 f6 e7 f8 e9 g7 g6 h7 h9 h8 i10 j9 i9 f9 e8 e10", {7, 6, 3, 2},
       15, "g8"},
      {"white defended", "f5 f8 f7 g6 f9 g8 g9 h6 h8 h7 h9 i5 i4 i6 j4 i8 j6", {6, 4, 2, 3}, 288},
      // A win by fours is played from the line's next stone when it is off the first four's
      // line: f11 wins at ply 7, h10 at 5 (異着・正着詰連珠/015); j14 wins at 4, g13 at once,
      // its five point g12 being forbidden to Black (白先胜100题/001).
      {"reserve four, black", "e9 e10 f6 f8 g10 f9 h8 h12 h9 h6 i11 i7 i6 i9 i8 j7 k9 j9 l8 k8 "
       "h11 g11", {5, 7, 3, 5}, 11, "f11 h10"},
      {"reserve four, white", "e9 e11 f11 f10 f12 g10 f6 g7 g6 g9 h11 h12 h8 h9 i8 j7 i9 h10 i10 "
       "d10 e10 g11 g8", {2, 6, -3, 2}, 5, "j14 g13"},
      // Nothing forces either side: the root plays its choice, and the opponent at ply 2 tries
      // its first 10 candidates at levels up to 10, 14 at 11 and 12, 18 beyond; the value is the
      // last candidate's. In the 13-stone game the 10th reply is a defence (2).
      {"quiet, 10 stones", kTen, {3, 6, 0, 0}, 70, "g12"},
      {"quiet, 10 stones, level 11", kTen, {3, 6, 0, 0}, 80, "g12", 11},
      {"quiet, 10 stones, level 13", kTen, {3, 6, 0, 0}, 132, "g12", 13},
      {"quiet, 13 stones", kThirteen, {6, 8, 2, 0}, 344},
      // Game 39: the choice g5 and the moves tried after it lose, until j8, one of White's threat
      // points in the box around the tried points, holds; in game 49 h11 holds after d7 and its
      // refutations; in game 26 all lose, and the longest loss, i10's, is played.
      {"game 39", "h8 i9 h7 h9 g9 i7 i8 g8 j9 g6 k10 l11 i10 k8 l10 j10 k11 k12 j12 m9 h5 h6",
       {7, 9, -2, 0}, 9888, "g5 m10 f6 n9 j8"},
      {"game 49", "h8 i9 g9 i7 i8 j8 h10 h7 f8 e7 e8 g8 f9 f7 g7 h6 g5", {4, 7, 2, 0}, 4918,
       "d7 h9 i10 j12 i11 h11"},
      {"game 26", "h8 i9 g6 i8 i7 g9 h9 h7 h6 i6 g5 j8 g8", {5, 8, 3, 16}, 7240, "i10 g7 f7 j11 e6"},
      // Messages are pumped at depth 6 only: 五子棋阶梯训练第一章/012 goes deeper,
      // 一手の詰連珠HT/034 reaches depth 5. deep_vcf-2 at level 1000, extension -3: lowered to
      // the move list's 64 scratch entries, the deepest search there is.
      {"deep", "g6 g7 h7 h5 h8 i7 j10 i9 j8 j7", {5, 7, 3, 9}, 167, "", 10, 6, true, 29},
      {"depth five", "g10 g6 g8 h7 h8 h9 j10 i7 j6 i9 j7 k10 l9 k9", {6, 6, 3, 6}, 50, "", 10, 6,
       true, 0},
      {"deep_vcf-2, lowered", kDeepVcf2, {5, 9, -2, 2}, 3252, "", 1000, -3},
  };
  // clang-format on
  for (const RootCase& c : cases)
    ExpectSearch(c);
}

// The settings a game accepts keep the search within the move list's 64 scratch entries.
TEST(ThreatSearch, WithinDepthBound) {
  for (const auto& [level, ext, within] :
       {std::tuple{58, 6, true}, {64, 0, true}, {59, 6, false}, {1, -1, false}})
    EXPECT_EQ((SearchSettings{.searchLevel = level, .fourExtension = ext}.WithinDepthBound()),
              within);
}

}  // namespace
}  // namespace zel
