// The opening log beside the record: its exact text, a round trip through the file and back into
// the opening's state, and damaged logs refused with their reason while the record loads as ever.
#include "files/opening_log.h"

#include <gtest/gtest.h>

#include "files/record.h"
#include "openings/opening.h"
#include "support/positions.h"
#include "support/run_cli.h"

namespace zel {
namespace {

const std::string kSoosorvLog =
    "rule soosorv8\nplace h8\nplace i9\nplace j6\nswap no\nplace g9\ndeclare 3\nswap yes\n"
    "offer i10 g6 k7\nchoose k7\n";

TEST(OpeningLog, RoundTripBesideTheRecord) {
  const auto dir = test::ScratchDir("opening_log_" + std::to_string(getpid()));
  const auto record = dir / "move.txt";
  const auto path = OpeningLogPath(record);
  EXPECT_EQ(path, dir / "move.opening.txt");

  openings::Opening opening(openings::Rule::kSoosorv8);
  const OpeningLogLoad written = ParseOpeningLog(kSoosorvLog);
  for (const OpeningStep& step : written.log->steps)
    ASSERT_EQ(opening.Apply(step), std::nullopt);
  std::vector<Point> moves(opening.Stones().begin(), opening.Stones().end());
  moves.push_back({0, 0});
  ASSERT_FALSE(SaveRecord(record, moves));
  ASSERT_FALSE(SaveOpeningLog(path, opening.Log()));
  EXPECT_EQ(test::ReadFile(path), kSoosorvLog);

  const OpeningLogLoad load = LoadOpeningLog(path);
  ASSERT_TRUE(load.log) << load.error;
  const openings::Opening::Replay replay = openings::Opening::FromLog(*load.log);
  ASSERT_TRUE(replay.opening) << replay.error;
  EXPECT_TRUE(replay.opening->Done());
  EXPECT_TRUE(std::equal(replay.opening->Stones().begin(), replay.opening->Stones().end(),
                         LoadRecord(record).moves.begin()));
  EXPECT_EQ(replay.opening->Steps().size(), opening.Steps().size());

  // Damaged logs: refused by the reader, or by the rules when replayed. The record beside them
  // loads the same moves whatever the log holds.
  const struct {
    std::string text;
    std::string reason;
  } damaged[] = {
      {"", "the file is empty"},
      {"place h8\n", "line 1: no \"rule\" line first"},
      {"rule rif\nplace z99\n", "line 2: move 1 (z99) is off the board"},
      {"rule rif\n\nswap maybe\n", "line 3: a swap is \"yes\" or \"no\""},
      {"rule rif\ndeclare 2x\n", "line 2: a declaration is a number above 0"},
      {"rule rif\nchoose h8 h9\n", "line 2: \"choose\" takes one point"},
      {"rule rif\njump h8\n", "line 2: \"jump\" is not a step of an opening"},
      {"rule chess\nplace h8\n", "\"chess\" is not an opening rule"},
      {"rule rif\r\nplace h9\r\n", "step 1 (place h9): The 1st stone must be on the centre (h8)"},
  };
  for (const auto& d : damaged) {
    SCOPED_TRACE(d.text);
    test::WriteFile(path, d.text);
    const OpeningLogLoad bad = LoadOpeningLog(path);
    const std::string reason = bad.log ? openings::Opening::FromLog(*bad.log).error : bad.error;
    EXPECT_EQ(reason, d.reason);
    EXPECT_EQ(LoadRecord(record).moves, moves);
  }
  std::filesystem::remove(path);
  EXPECT_FALSE(LoadOpeningLog(path).log);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zel
