// The computer's opening decisions on small node budgets: valid steps where the rules are
// strict (offers around symmetrical positions), and the choices the engine's scores make plain.
#include "openings/computer.h"

#include <gtest/gtest.h>

#include "files/opening_log.h"
#include "openings/opening.h"

namespace zel::openings {
namespace {

constexpr DecisionBudget kBudget{4000, {}};

Opening After(std::string text) {
  for (char& c : text)
    c = c == '|' ? '\n' : c;
  const OpeningLogLoad load = ParseOpeningLog("rule " + text);
  EXPECT_TRUE(load.log) << load.error;
  Opening::Replay replay = Opening::FromLog(*load.log);
  EXPECT_TRUE(replay.opening) << replay.error;
  return std::move(*replay.opening);
}

TEST(OpeningComputer, OffersAreValidAroundSymmetricalStones) {
  // Stones symmetrical about a line or a diagonal: the best 5th moves come in mirrored pairs, of
  // which one each may be offered.
  const char* positions[] = {
      "rif|place h8|place h9|place h10|swap no|place h12",
      "soosorv8|place h8|place i9|place g7|swap no|place j10|declare 8|swap no",
      "taraguchi10|place h8|swap no|place i9|swap no|place g7|swap no|place j10|swap no",
  };
  for (const char* log : positions) {
    SCOPED_TRACE(log);
    Opening opening = After(log);
    OpeningComputer computer(kBudget, 1);
    const int count = opening.Next().count;
    std::vector<Point> best;
    for (const OpeningComputer::Scored& s : computer.FifthMoves(opening.Stones(), count)) {
      if (best.size() < static_cast<size_t>(count)) best.push_back(s.point);
    }
    EXPECT_FALSE(opening.Validate(OpeningStep::Offer(best)));
    // Taraguchi-10's Black may place its 5th instead; either way the step is valid.
    const OpeningStep step = computer.Decide(opening);
    EXPECT_FALSE(opening.Validate(step)) << FormatOpeningStep(step);
    if (step.kind == OpeningStepKind::kOffer) EXPECT_EQ(step.points, best);
  }
}

TEST(OpeningComputer, WhiteKeepsTheWorstForBlackAndSwapsFromALostColour) {
  // j10 makes Black an open three on the diagonal; a15 is nowhere.
  Opening opening = After("rif|place h8|place h9|place i9|swap no|place a1|offer j10 a15");
  OpeningComputer computer(kBudget, 1);
  EXPECT_EQ(computer.Decide(opening), OpeningStep::Choose({0, 0}));
  // With one 5th move declared, Black's player keeps Black at the second swap of Soosorv-8: its
  // best 5th move makes the open three.
  Opening soosorv = After("soosorv8|place h8|place h9|place i9|swap no|place a1|declare 1");
  EXPECT_EQ(computer.Decide(soosorv), OpeningStep::Swap(false));
}

}  // namespace
}  // namespace zel::openings
