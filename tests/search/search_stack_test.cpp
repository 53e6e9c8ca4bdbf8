// The search keeps its nodes off the thread's stack: the deepest search allowed runs in a thread
// with a small stack.
#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "search/think.h"
#include "support/engine_state.h"
#include "support/positions.h"

namespace zel {
namespace {

// Black's stones and White's, in board notation, played alternately from Black.
std::vector<Point> Alternate(const char* black, const char* white) {
  const std::vector<Point> b = test::Rif(black);
  const std::vector<Point> w = test::Rif(white);
  std::vector<Point> moves;
  for (size_t i = 0; i < std::max(b.size(), w.size()); ++i) {
    if (i < b.size()) moves.push_back(b[i]);
    if (i < w.size()) moves.push_back(w[i]);
  }
  return moves;
}

// Runs `work` on a thread whose stack of `bytes` is painted first; returns how many bytes of the
// stack the thread touched. A stack overflow crashes the test.
size_t StackUsed(size_t bytes, const std::function<void()>& work) {
  constexpr unsigned char kPaint = 0xa5;
  const long page = sysconf(_SC_PAGESIZE);
  void* raw = nullptr;
  EXPECT_EQ(posix_memalign(&raw, static_cast<size_t>(page), bytes), 0);
  std::unique_ptr<void, decltype(&free)> stack(raw, &free);
  std::memset(raw, kPaint, bytes);

  pthread_attr_t attr;
  pthread_attr_init(&attr);
  EXPECT_EQ(pthread_attr_setstack(&attr, raw, bytes), 0);
  pthread_t thread;
  auto run = [](void* f) -> void* {
    (*static_cast<const std::function<void()>*>(f))();
    return nullptr;
  };
  EXPECT_EQ(pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&work)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);

  // The stack grows down: the lowest touched byte tells the depth reached.
  const auto* base = static_cast<const unsigned char*>(raw);
  size_t untouched = 0;
  while (untouched < bytes && base[untouched] == kPaint)
    ++untouched;
  return bytes - untouched;
}

// Records the deepest ply whose move the search tried.
class PlyProbe final : public SearchHooks {
 public:
  void RecordTrace(int, int ply, int, int, int) override { deepest = std::max(deepest, ply); }
  int deepest = 0;
};

struct DeepCase {
  const char* name;
  const char* black;
  const char* white;
  int deepest;  // the deepest ply tried at the deepest level
  std::int64_t nodes;
};

// Long wins by fours from junghyun397/mintaka@2a4cae050609 mintaka/tests/test_vcf.rs (lines 84
// and 258): at the deepest level their lines run dozens of plies, the second one to the last
// ply the move list has room for.
const DeepCase kDeepCases[] = {
    {"basic_vcf-2", "d8 e8 f10 f6 h4 h8 j10 j7 k8", "c8 e7 f9 g3 g6 h9 j11 l6 l9", 40, 498},
    {"deep_vcf-2",
     "a1 a11 a14 a3 a5 b7 c9 e15 f1 h2 h8 i1 i9 k1 l12 m15 m5 m7 n3 n4 o12 o14 o15 o5 o6",
     "a10 a12 a15 a8 a9 b1 b9 c1 c10 c8 d1 d8 d9 f14 h13 i6 j14 j7 j8 m11 m14 m9 n13 o2 o4",
     kMaxSearchDepth, 3252},
};

// A node's position and inventories take about 9 KB: kept on the stack, 64 plies would need
// 600 KB. The search needs less than 64 KB of stack at any depth (about 38 KB at the deepest,
// in a release build); the thread here has four times that.
TEST(SearchStack, DeepestLevelRunsInASmallStack) {
  for (const DeepCase& c : kDeepCases) {
    SCOPED_TRACE(c.name);
    EngineState state = test::EngineAfter(Alternate(c.black, c.white));
    state.settings.searchLevel = kMaxSearchLevel;
    PlyProbe probe;
    state.hooks = &probe;
    Thought thought;
    const size_t used = StackUsed(256 * 1024, [&] { thought = Think(state, ThreatInventory{}); });
    ASSERT_TRUE(thought.result.has_value());
    EXPECT_EQ(probe.deepest, c.deepest);
    EXPECT_EQ(thought.nodes, c.nodes);
    ::testing::Test::RecordProperty(std::string("stack_bytes_") + c.name, std::to_string(used));
  }
}

// Settings beyond the move list's scratch entries, which only a caller that bypasses the game
// can make, are lowered to fit for the search and restored after it.
TEST(SearchStack, ThinkLowersALevelBeyondTheMoveList) {
  const DeepCase& deep = kDeepCases[1];
  EngineState state = test::EngineAfter(Alternate(deep.black, deep.white));
  state.settings.searchLevel = 1000;
  state.settings.fourExtension = -3;
  PlyProbe probe;
  state.hooks = &probe;
  const Thought thought = Think(state, ThreatInventory{});
  // Extension 0 and level 64 reach the same depth as the deepest level at extension 6.
  EXPECT_EQ(probe.deepest, kMaxSearchDepth);
  EXPECT_TRUE(thought.result.has_value());
  EXPECT_EQ(state.settings.searchLevel, 1000);
  EXPECT_EQ(state.settings.fourExtension, -3);
}

}  // namespace
}  // namespace zel
