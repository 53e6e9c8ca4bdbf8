// The opening rules: the 26 openings by name in every orientation, the symmetry test, and each
// rule's steps, legal and refused, as tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "alphabeta/search.h"
#include "files/opening_log.h"
#include "openings/computer.h"
#include "openings/names.h"
#include "openings/opening.h"
#include "openings/symmetry.h"
#include "support/positions.h"

namespace zel::openings {
namespace {

// The eight orientations, written apart from the module's: a quarter turn r times, then a mirror.
Point Orient(int k, Point p) {
  int dr = p.row - 7, dc = p.col - 7;
  for (int r = 0; r < k % 4; ++r) {
    const int turned = dc;
    dc = -dr;
    dr = turned;
  }
  if (k >= 4) dc = -dc;
  return {7 + dr, 7 + dc};
}

TEST(OpeningNames, AllTwentySixInEveryOrientation) {
  ASSERT_EQ(NamedOpenings().size(), 26U);
  std::ifstream table(std::string(ZEL_OPENINGS_DATA_DIR) + "/openings26.txt");
  int count = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.starts_with("#")) continue;
    std::istringstream fields(line);
    struct {
      std::string a, b, c, code, name;
    } o;
    fields >> o.a >> o.b >> o.c >> o.code >> o.name;
    ++count;
    const std::vector<Point> stones = test::Rif(o.a + " " + o.b + " " + o.c);
    for (int k = 0; k < 8; ++k) {
      const std::vector<Point> oriented{Orient(k, stones[0]), Orient(k, stones[1]),
                                        Orient(k, stones[2])};
      const std::optional<OpeningName> name = NameOf(oriented);
      ASSERT_TRUE(name) << o.code << " orientation " << k;
      EXPECT_EQ(name->code, o.code) << line << " orientation " << k;
      EXPECT_EQ(name->name, o.name);
    }
    // Placed by name, an opening is recognised as itself.
    const std::optional<std::array<Point, 3>> placed = StonesOf(o.code);
    ASSERT_TRUE(placed);
    EXPECT_EQ(NameOf(*placed)->code, o.code);
  }
  EXPECT_EQ(count, 26);
  // Not openings: White's stone not beside the centre's, the 3rd outside the 5 x 5, the colours
  // exchanged, two stones.
  for (const char* stones : {"h8 j8 i8", "h8 h9 h11", "h9 h8 h10", "h8 h9"})
    EXPECT_FALSE(NameOf(test::Rif(stones))) << stones;
  EXPECT_FALSE(StonesOf("14D"));
}

struct SymmetryCase {
  const char* stones;
  int symmetries;     // the size of the group that keeps them
  const char* alike;  // pairs the group maps onto each other
  const char* apart;  // pairs it does not
};
const SymmetryCase kSymmetryCases[] = {
    {"h8", 8, "h10 j8 h10 f8 g9 i7 i10 j9", "h10 i10 i9 h10"},
    {"h8 h9", 2, "g10 i10 i8 g8", "h10 h6 g9 g7"},
    {"h8 i9", 2, "j8 h10 g9 i7", "j8 f8 g9 i10"},
    {"h8 h9 h10", 2, "g9 i9 f11 j11", "g9 g7"},
    {"h8 h9 j10", 1, "", "g7 i7 j8 h10"},
    // Colours count: White's i8 and Black's g8 do not map onto each other.
    {"h8 i8 g8", 2, "h10 h6 g9 g7", "g9 i9"},
    {"h8 h9 g7 i7", 1, "", "g9 i9 g6 i6"},
    {"h8 i9 g7 h9 f6 i8", 2, "j10 j10 g9 i7 j8 h10", "g9 i10 j7 h10"},
};

TEST(OpeningSymmetry, GroupsOfPositions) {
  for (const SymmetryCase& c : kSymmetryCases) {
    SCOPED_TRACE(c.stones);
    const SymmetryGroup group = StonesGroup(test::Rif(c.stones));
    EXPECT_EQ(std::popcount(group), c.symmetries);
    const std::vector<Point> alike = test::Rif(c.alike), apart = test::Rif(c.apart);
    for (size_t i = 0; i + 1 < alike.size(); i += 2)
      EXPECT_TRUE(Symmetrical(group, alike[i], alike[i + 1])) << i;
    for (size_t i = 0; i + 1 < apart.size(); i += 2)
      EXPECT_FALSE(Symmetrical(group, apart[i], apart[i + 1])) << i;
  }
}

// Steps as a log's lines, "|" for the line ends; every step but the last is accepted, and the last
// is refused with a reason holding `refusal`, or accepted when it is empty.
struct StepCase {
  std::string log;
  std::string refusal;
};
const std::string kRif = "rif|place h8|place h9|place j10|swap no|place g9";  // 3D, the 4th on g9
const std::string kRif1D = "rif|place h8|place h9|place h10|swap no|place h12";  // symmetrical
const std::string kSoos = "soosorv8|place h8|place i9|place j6|swap no|place g9";
const std::string kTara = "taraguchi10|place h8|swap no|place i9|swap no|place j10|swap no";
const std::string kTen = "|offer a1 b1 c1 d1 e1 f1 g1 h1 i1 j1";
const StepCase kStepCases[] = {
    // RIF: the three stones of an opening, a swap, the 4th anywhere, two 5th moves, a choice.
    {"rif|place h9", "The 1st stone must be on the centre (h8)"},
    {"rif|place h8|place j10", "The 2nd stone must be within the central 3 x 3"},
    {"rif|place h8|place h9|place h11", "The 3rd stone must be within the central 5 x 5"},
    {"rif|place h8|place h9|place h8", "There is already a stone on h8"},
    {"rif|place h8|place h9|place j10|place g9", "not the next step"},
    {kRif + "|offer i10", "Offer exactly 2 5th moves"},
    {kRif1D + "|offer g11 i11", "These two 5th moves are symmetrical: g11 and i11"},
    {kRif1D + "|offer g11 i12", ""},
    {kRif1D + "|offer g11 h9", "already a stone on h9"},
    {kRif + "|offer i10 g6|choose i11", "Choose one of the offered 5th moves"},
    {kRif + "|offer i10 g6|choose i10|place a1", "The opening is over"},
    // Soosõrv-8: a declaration between the 4th and a second swap, then that many 5th moves.
    {kSoos + "|declare 9", "Declare 1 to 8"},
    {kSoos + "|swap no", "not the next step"},
    {kSoos + "|declare 3|swap no|offer i10 g6", "Offer exactly 3 5th moves"},
    // Taraguchi-10: a swap after each stone, each within its square, then a 5th within 9 x 9 and
    // a last swap, or ten 5th moves offered when the swap after the 4th was declined.
    {"taraguchi10|place h8|swap no|place j10", "The 2nd stone must be within the central 3 x 3"},
    {"taraguchi10|place h8|swap no|place i9|swap no|place e8", "within the central 5 x 5"},
    {kTara + "|place l8", "The 4th stone must be within the central 7 x 7"},
    {kTara + "|place k11|swap no|place m8", "The 5th stone must be within the central 9 x 9"},
    {kTara + "|place k11|swap no" + kTen + "|choose c1", ""},
    {kTara + "|place k11|swap yes" + kTen, "not the next step"},
    {kTara + "|place k11|swap no|offer a1 b1 c1", "Offer exactly 10 5th moves"},
};

OpeningLog LogOf(std::string text) {
  for (char& c : text)
    c = c == '|' ? '\n' : c;
  OpeningLogLoad load = ParseOpeningLog("rule " + text);
  EXPECT_TRUE(load.log) << load.error;
  return load.log.value_or(OpeningLog{});
}

Opening After(const std::string& log) {
  Opening::Replay replay = Opening::FromLog(LogOf(log));
  EXPECT_TRUE(replay.opening) << replay.error;
  return replay.opening.value_or(Opening(Rule::kRif));
}

TEST(OpeningRules, StepsLegalAndRefused) {
  for (const StepCase& c : kStepCases) {
    SCOPED_TRACE(c.log);
    const size_t cut = c.log.rfind('|');
    Opening opening = After(c.log.substr(0, cut));
    const size_t stones = opening.Stones().size();
    const std::optional<std::string> refused =
        opening.Apply(LogOf("x" + c.log.substr(cut)).steps[0]);
    if (c.refusal.empty()) {
      EXPECT_FALSE(refused) << *refused;
    } else {
      ASSERT_TRUE(refused);
      EXPECT_NE(refused->find(c.refusal), std::string::npos) << *refused;
      EXPECT_EQ(opening.Stones().size(), stones);  // a refused step changes nothing
    }
  }
  // A log cannot hold a point twice in one line; a caller can.
  Opening opening =
      *Opening::FromLog(LogOf("rif|place h8|place h9|place j10|swap no|place a1")).opening;
  EXPECT_EQ(opening.Apply(OpeningStep::Offer(test::Rif("g11 g11"))), "g11 is offered twice");
}

// Whole openings, each step accepted, and who is asked what before it: kind, player (0 first, 1
// second) and the colour held.
TEST(OpeningRules, WhoDecides) {
  struct Walk {
    std::string log;
    std::string asked;  // one "kind player colour" a step, and the request after the last
  };
  const Walk walks[] = {
      {"rif|place h8|place h9|place j10|swap yes|place a1|offer i10 g6|choose g6",
       "P0B P0B P0B S1W P0W O1B C0W -"},
      {kSoos + "|declare 3|swap yes|offer i10 g6 k7|choose k7",
       "P0B P0B P0B S1W P1W D1W S0B O1B C0W -"},
      {"taraguchi10|place h8|swap yes|place i9|swap no|place j10|swap no|place k11|swap yes|"
       "place l12|swap no",
       "P0B S1W P0W S1B P1B S0W P0W S1B P0B S1W -"},
  };
  for (const Walk& w : walks) {
    SCOPED_TRACE(w.log);
    const OpeningLog log = LogOf(w.log);
    Opening opening(*RuleFromName(log.rule));
    std::string asked;
    const auto note = [&] {
      const Request& r = opening.Next();
      static constexpr char kKinds[] = "-PSDOC";
      asked += asked.empty() ? "" : " ";
      asked += kKinds[static_cast<int>(r.kind)];
      if (r.kind == OpeningStepKind::kNone) return;
      asked += std::to_string(r.player);
      asked += r.colour == kBlack ? 'B' : 'W';
    };
    for (const OpeningStep& step : log.steps) {
      note();
      ASSERT_FALSE(opening.Apply(step));
    }
    note();
    EXPECT_EQ(asked, w.asked);
  }
  // Requests read in the status bar, and the few choices listed.
  Opening rif(Rule::kRif);
  EXPECT_EQ(Describe(rif.Next()), "Black (first player): place the 1st stone on the centre (h8)");
  EXPECT_EQ(rif.Choices(), test::Rif("h8"));
  ASSERT_FALSE(rif.Apply(OpeningStep::Place(kCentre)));
  EXPECT_EQ(Describe(rif.Next()),
            "Black (first player): place the 2nd stone, a White one, within the central 3 x 3");
  EXPECT_EQ(rif.Choices().size(), 8U);
  EXPECT_EQ(After(kTara).Choices().size(), 46U);  // the 7 x 7 less the three stones
  EXPECT_EQ(Describe(After(kTara + "|place k11|swap no").Next()),
            "Black (first player): place the 5th stone within the central 9 x 9, or offer 10 5th "
            "moves anywhere");
}

// The computer's decisions on small node budgets. Around symmetrical stones the best 5th moves
// come in mirrored pairs, of which one each is offered.
TEST(OpeningComputer, OffersAreValidAroundSymmetricalStones) {
  for (const std::string& log : std::vector<std::string>{
           kRif1D, "soosorv8|place h8|place i9|place g7|swap no|place j10|declare 8|swap no",
           "taraguchi10|place h8|swap no|place i9|swap no|place g7|swap no|place j10|swap no"}) {
    SCOPED_TRACE(log);
    const Opening opening = After(log);
    OpeningComputer computer({4000, {}}, 1);
    const int count = opening.Next().count;
    std::vector<Point> best;
    for (const OpeningComputer::Scored& s : computer.FifthMoves(opening.Stones(), count)) {
      if (best.size() < static_cast<size_t>(count)) best.push_back(s.point);
    }
    EXPECT_FALSE(opening.Validate(OpeningStep::Offer(best)));
    for (const Point p : best) {  // near the stones: two points away at most
      EXPECT_TRUE(std::any_of(opening.Stones().begin(), opening.Stones().end(), [&](Point s) {
        return std::abs(s.row - p.row) <= 2 && std::abs(s.col - p.col) <= 2;
      }));
    }
    // Taraguchi-10's Black may place its 5th instead; either way the step is valid.
    const OpeningStep step = computer.Decide(opening);
    EXPECT_FALSE(opening.Validate(step)) << FormatOpeningStep(step);
    if (step.kind == OpeningStepKind::kOffer) {
      EXPECT_EQ(step.points, best);
    }
  }
}

// After a swap Taraguchi-10's Black places its 5th within 9 x 9, near the stones, the same for
// the same budget, and among the better balanced of the 5th moves near the stones (its own
// search gives each point a share of its own, so the scores are compared loosely).
TEST(OpeningComputer, PlacesABalancedFifth) {
  const Opening opening = After(kTara + "|place k11|swap yes");
  const OpeningStep step = OpeningComputer({100000, {}}, 1).Decide(opening);
  ASSERT_EQ(step.kind, OpeningStepKind::kPlace);
  EXPECT_TRUE(WithinArea(step.points[0], 9));
  // The stone is the one the same budget scores nearest balance, of several known.
  const std::vector<OpeningComputer::Scored> scored =
      OpeningComputer({100000, {}}, 1).StonesWithin(opening.Stones(), 1, 9);
  std::vector<int> known;
  int chosen = -1;
  for (const OpeningComputer::Scored& s : scored) {
    if (!s.known) continue;
    known.push_back(std::abs(s.score));
    if (s.point == step.points[0]) chosen = std::abs(s.score);
  }
  ASSERT_GE(known.size(), 4u);
  EXPECT_EQ(chosen, *std::min_element(known.begin(), known.end()));
}

TEST(OpeningComputer, PlacesBalancedOpenings) {
  std::set<std::string_view> placed;
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    OpeningComputer computer({4000, {}}, seed);
    Opening opening(Rule::kRif);
    while (opening.Stones().size() < 3)
      ASSERT_FALSE(opening.Apply(computer.Decide(opening)));
    placed.insert(NameOf(opening.Stones())->code);
  }
  EXPECT_EQ(placed,
            std::set<std::string_view>(std::begin(kBalancedOpenings), std::end(kBalancedOpenings)));
}

TEST(OpeningComputer, WhiteKeepsTheWorstForBlackAndBlackKeepsAGoodGame) {
  // j10 makes Black an open three on the diagonal; a15 is nowhere.
  OpeningComputer computer({4000, {}}, 1);
  EXPECT_EQ(computer.Decide(After("rif|place h8|place h9|place i9|swap no|place a1|offer j10 a15")),
            OpeningStep::Choose({0, 0}));
  // With one 5th move declared, Black's player keeps Black at Soosõrv-8's second swap: its best
  // 5th move makes the open three.
  EXPECT_EQ(
      computer.Decide(After("soosorv8|place h8|place h9|place i9|swap no|place a1|declare 1")),
      OpeningStep::Swap(false));
  // RIF's 4th, anywhere: the strong engine's own best move, as a search of the same budget and
  // tables finds it.
  const Opening four = After("rif|place h8|place h9|place j10|swap no");
  ab::Limits limits;
  limits.nodes = 4000;
  const Point best =
      ab::PointOf(ab::Searcher(std::size_t{4} << 20).Search(four.Stones(), limits).move);
  EXPECT_EQ(OpeningComputer({4000, {}}, 1).Decide(four), OpeningStep::Place(best));
}

}  // namespace
}  // namespace zel::openings
