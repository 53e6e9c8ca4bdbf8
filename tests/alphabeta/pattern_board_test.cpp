#include <gtest/gtest.h>

#include <random>
#include <string>

#include "alphabeta/board.h"
#include "rules/renju_rules.h"

namespace zel::ab {
namespace {

// A line drawn as 11 cells around the point K: X the colour's own stone, O blocked, . empty.
LineKey KeyOf(std::string_view cells) {
  int key = 0;
  for (int i = 0; i < 11; ++i) {
    const int offset = i - kSideCells;
    if (offset == 0) continue;
    const int state = cells[i] == 'X' ? kOwn : cells[i] == 'O' ? kBlocked : kOpen;
    key += state * kPow3[Slot(offset)];
  }
  return static_cast<LineKey>(key);
}

TEST(LinePattern, KnownLines) {
  const struct {
    const char* cells;
    Pattern black;
    Pattern white;
  } cases[] = {
      {"...XXKXX...", kFive, kFive},
      {"..XXXKXX...", kOverline, kFive},  // six: Black's overline, White's five
      {"OXXXXK.....", kFive, kFive},
      {"....XKXX...", kOpenFour, kOpenFour},
      {"....XKXX..X", kOpenFour, kOpenFour},    // the far stone leaves both ends exactly five
      {"...XXKX.X..", kFour, kOpenFour},        // Black's right end would make six
      {"..X.XKX.X..", kDoubleFour, kOpenFour},  // two fours in one line
      {"...OXKXX...", kFour, kFour},
      {"....XK.X...", kOpenThree, kOpenThree},
      {"....XKX....", kOpenThree, kOpenThree},
      {"...X.KX.X..", kThree, kOpenThree},  // Black's straight four would be an overline
      {"...X.K.X...", kThree, kThree},      // X . X . X is no open three
      {"....OKXX...", kThree, kThree},
      {"....OKX....", kTwo, kTwo},
      {"....XK.....", kOpenTwo, kOpenTwo},
      {"O....K....O", kOne, kOne},
      {"...O.K..O..", kDead, kDead},  // four cells between the blocks
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cells);
    EXPECT_EQ(LinePattern(kBlack, KeyOf(c.cells)), c.black);
    EXPECT_EQ(LinePattern(kWhite, KeyOf(c.cells)), c.white);
  }
}

// A board built by placing every stone of `b`'s game afresh, Black's and White's in turn.
void Rebuild(const PatternBoard& b, PatternBoard& fresh) {
  for (int i = 0; i < b.MoveCount(); ++i)
    fresh.Put(b.Move(i), i % 2 == 0 ? kBlack : kWhite);
  fresh.SetSideToMove(b.SideToMove());
}

::testing::AssertionResult SameState(const PatternBoard& a, const PatternBoard& b) {
  if (a.Hash() != b.Hash()) return ::testing::AssertionFailure() << "hash";
  for (const int colour : {kBlack, kWhite}) {
    for (const Role role : {kToMove, kWaiting}) {
      if (a.WeightSum(colour, role) != b.WeightSum(colour, role)) {
        return ::testing::AssertionFailure() << "sum";
      }
    }
    for (Cell c = 0; c < kCells; ++c) {
      if (!a.Empty(c)) continue;
      bool same = a.ThreatAt(colour, c) == b.ThreatAt(colour, c) &&
                  a.Fives(colour).Has(c) == b.Fives(colour).Has(c) &&
                  a.Fours(colour).Has(c) == b.Fours(colour).Has(c) &&
                  a.Threes(colour).Has(c) == b.Threes(colour).Has(c) &&
                  a.Neighbours(c) == b.Neighbours(c);
      for (int d = 0; d < kDirections; ++d)
        same = same && a.LineAt(colour, c, d) == b.LineAt(colour, c, d);
      if (!same) return ::testing::AssertionFailure() << "colour " << colour << " cell " << c;
    }
  }
  return ::testing::AssertionSuccess();
}

// In random games, with stones taken back and replayed on the way: the incremental board equals
// one built afresh from its stones, its forbidden points and fives are exactly the rules judge's,
// and taking every stone back leaves the empty board.
TEST(PatternBoard, AgreesWithARebuildAndTheJudge) {
  Weights weights;
  for (int i = 0; i < kPatterns; ++i) {
    weights[kToMove].line[i] = static_cast<std::int16_t>(3 * i + 1);
    weights[kWaiting].line[i] = static_cast<std::int16_t>(5 * i + 2);
  }
  for (int i = 0; i < kThreatClasses; ++i) {
    weights[kToMove].threat[i] = static_cast<std::int16_t>(7 * i);
    weights[kWaiting].threat[i] = static_cast<std::int16_t>(11 * i);
  }
  std::mt19937 rng(20261207);
  for (int game = 0; game < 40; ++game) {
    PatternBoard board(&weights);
    const int length = 20 + 4 * game;
    for (int move = 0; move < length; ++move) {
      Cell c;
      do
        c = static_cast<Cell>(rng() % kCells);
      while (!board.Empty(c));
      board.Play(c);
      if (move % 5 == 2) {
        board.Undo();
        board.Play(c);
      }
      PatternBoard fresh(&weights);
      Rebuild(board, fresh);
      ASSERT_TRUE(SameState(board, fresh)) << "game " << game << " move " << move;
      for (Cell q = 0; q < kCells; ++q) {
        if (!board.Empty(q)) continue;
        const Verdict verdict = JudgeBlackMove(board.Stones(), PointOf(q));
        ASSERT_EQ(board.IsForbiddenForBlack(q), IsForbidden(verdict)) << "cell " << q;
        ASSERT_EQ(board.ThreatAt(kBlack, q) == Threat::kFive, verdict == Verdict::kFive);
      }
    }
    while (board.MoveCount() > 0)
      board.Undo();
    ASSERT_TRUE(SameState(board, PatternBoard(&weights)));
  }
}

}  // namespace
}  // namespace zel::ab
