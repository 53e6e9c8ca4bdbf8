// The record and trace files: their bytes, how damaged text and what is not a record file load,
// and saves that replace a file whole or not at all.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "files/move_text.h"
#include "files/opening_log.h"
#include "files/record.h"
#include "files/trace.h"
#include "openings/opening.h"
#include "support/run_cli.h"

namespace zel {
namespace {

const std::vector<Point> kMoves = {{7, 7}, {7, 8}, {6, 8}};
const std::string kLine1 = "  1  7 7  8 h\n";
const std::string kLines = kLine1 + "  2  7 8  8 i\n  3  6 8  7 i\n";
const std::string kBom = "\xEF\xBB\xBF";

// `count` moves on distinct points.
std::vector<Point> Moves(int count) {
  std::vector<Point> moves;
  for (int k = 0; k < count; ++k)
    moves.push_back({k / kBoardSize, (k * 4) % kBoardSize});
  return moves;
}

// Runs `body` in a child that an alarm ends after ten seconds: a call that blocks fails (-1).
int RunInChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) alarm(10), _exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Moves as players write them, with or without spaces, and as the protocol's lines; what is not a
// game is refused with the move that breaks it.
TEST(MoveText, ParseAndFormat) {
  const std::vector<Point> game = {{7, 7}, {6, 8}, {5, 9}, {14, 0}, {0, 14}};
  EXPECT_EQ(FormatMoves(game), "h8 i9 j10 a1 o15");
  const std::pair<std::string_view, std::string> texts[] = {
      {"h8 i9 j10 a1 o15", ""},
      {" H8i9\tj10\r\na1o15\n", ""},
      {"7,7\n8,6\r\n9,5,1\n\n0,14\n14 , 0", ""},
      {"", "there are no moves"},
      {"h8 i9 8", "\"8\" is not a move"},
      {"h8 ?9 j10", "\"?9\" is not a move"},
      {"h8 p9", "move 2 (p9) is off the board"},
      {"h8 a16", "move 2 (a16) is off the board"},
      {"h8 a0", "move 2 (a0) is off the board"},
      {"h8 i9 h8", "move 3 (h8) is on a stone"},
      {"7,7\n15,0", "move 2 (15,0) is off the board"},
      {"7,7\n7;8", "\"7;8\" is not an x,y line"},
      {"7,7\n7,", "\"7,\" is not an x,y line"},
  };
  for (const auto& [text, error] : texts) {
    const MovesText parsed = ParseMoves(text);
    EXPECT_EQ(parsed.error.value_or(""), error) << text;
    EXPECT_EQ(parsed.moves, error.empty() ? game : std::vector<Point>{}) << text;
  }
}

// A .psq file: its bytes, its moves read back before the players' lines; what is not a sound one.
TEST(MoveText, Psq) {
  const std::vector<Point> game = {{7, 7}, {6, 8}};
  EXPECT_EQ(FormatPsq(game), "Piskvorky 15x15, 11:11, 0\n8,8,0\n9,7,0\n");
  const std::pair<std::string, std::string> files[] = {
      {FormatPsq(game), ""},
      {"Piskvorky 15x15, 11:11, 0\r\n8,8,250\r\n9,7,1000\r\n-1\r\npbrain-a.exe\r\n", ""},
      {"Piskvorky 20x20, 11:11, 0\n8,8,0\n", "its board is 20x20, not 15x15"},
      {"8,8,0\n9,7,0\n", "it is not a Piskvork record (no \"Piskvorky\" line at its start)"},
      {"Piskvorky 15x15, 11:11, 0\n8,8,0\n16,7,0\n", "move 2 (16,7,0) is off the board"},
      {"Piskvorky 15x15, 11:11, 0\n8,8,0\n8,8,0\n", "move 2 (8,8,0) is on a stone"},
  };
  for (const auto& [text, error] : files) {
    const MovesText parsed = ParsePsq(text);
    EXPECT_EQ(parsed.error.value_or(""), error) << text;
    EXPECT_EQ(parsed.moves, error.empty() ? game : std::vector<Point>{}) << text;
  }
}

TEST(Record, ExactBytes) {
  EXPECT_EQ(FormatRecord(kMoves), kLines + "\n");
  EXPECT_EQ(FormatMoveLine(12, {9, 9}) + FormatMoveLine(105, {14, 0}) + FormatMoveLine(1, {0, 14}),
            " 12  9 9  A j\n105  E 0  F a\n  1  0 E  1 o\n");
  // Nothing past the text is read; a full board reads back whole; a 226th move stops the reading.
  EXPECT_EQ(ParseRecord(std::string_view("  1  7 7  8 h ", 13)).stop, RecordStop::kEnd);
  const RecordLoad full = ParseRecord(FormatRecord(Moves(225)) + "226  7 7  8 h\n");
  EXPECT_EQ(full.moves, Moves(225));
  EXPECT_EQ(DescribeLoad(full),
            "line 227: a 226th move, more than the board has points; loading "
            "stops there, after 225 moves");
}

// Each text loads the first `moves` of kMoves and describes the load as `describe` begins.
TEST(Record, Parse) {
  const std::tuple<std::string, size_t, std::string> cases[] = {
      {"  1  7 7  8 h\r  2  7 8  8 i\r  3  6 8  7 i\r\r", 3, "3 moves, to the end of the record"},
      {kBom + "\n  \r\n", 0, "no move line; the game is empty"},
      // CR LF ends one line, a lone CR or LF CR two.
      {"  1  7 7  8 h\r\n\r\n  3  7 8  8 i\r\n", 1, "line 3: move number 3 where 2 was expected"},
      {"  1  7 7  8 h\n\r\r  2  7 8  8 i\r~x\x7f\r", 2, "line 5: not a move line: \"~x\\x7F\""},
      {kLine1 + kBom + kLine1, 1,
       "line 2: not a move line: \"\\xEF\\xBB\\xBF  1  7 7  8 h\"; loading stops there, after 1 "
       "move"},
      {std::string(40, 'x'), 0, "line 1: not a move line: \"" + std::string(24, 'x') + "...\""},
      {kLine1 + "  2  a 8  8 i\n", 1, "line 2: row digit \"a\" is not one of 0-9, A-E"},
      {"  1  \x01 7  8 h\n", 0, "line 1: row digit \"\\x01\""},
      {"  1  7 :  8 h\n", 0, "line 1: column digit \":\""},
      {kLine1 + "  2  7 8  8\n", 1, "line 2: move 2 breaks off before its four fields"},
      {kLines + "  4  7 7  8 h\n", 3,
       "line 4: point 7 7 is taken by an earlier move; loading stops there, after 3 moves"},
      {kLine1 + "  2  7 8  8 i  extra \n", 2, "line 2: text after the move: \"extra\""},
      {"+1 778h\n002 788i", 2, "2 moves"},  // as %d and %c read: a sign, zeros, no spaces
      {kLine1 + "  3  7 8  8 i\n", 1, "line 2: move number 3 where 2"},
      {" -1  7 7  8 h\n", 0, "line 1: move number -1 where 1"},
      {"18446744073709551617  7 7  8 h\n", 0, "line 1: move number 18446744073709551617 where 1"},
  };
  for (const auto& [text, moves, describe] : cases) {
    const RecordLoad load = ParseRecord(text);
    EXPECT_EQ(load.moves, std::vector<Point>(kMoves.begin(), kMoves.begin() + moves)) << text;
    EXPECT_EQ(DescribeLoad(load).substr(0, describe.size()), describe);
  }
}

// What is not a regular file of at most the size limit is refused, a pipe without blocking.
TEST(Record, RefusesWhatIsNotARecordFile) {
  const auto dir = test::ScratchDir("record_refuses_" + std::to_string(getpid()));
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  const std::string three = FormatRecord(Moves(3));
  test::WriteFile(dir / "large", three + std::string(kRecordSizeLimit - three.size() + 1, '\n'));
  test::WriteFile(dir / "limit", three + std::string(kRecordSizeLimit - three.size(), '\n'));
  for (const auto& [path, describe] : std::vector<std::pair<std::filesystem::path, std::string>>{
           {dir / "missing", "cannot read: No such file or directory"},
           {dir, "not a regular file but a directory"},
           {dir / "fifo", "not a regular file but a pipe"},
           {"/dev/null", "not a regular file but a character device"},
           {dir / "large", "larger than 1048576 bytes, more than the game ever writes"},
           {dir / "limit", "3 moves, to the end of the record"}}) {
    EXPECT_EQ(RunInChild([&] { return static_cast<int>(LoadRecord(path).moves.size()); }),
              path == dir / "limit" ? 3 : 0);
    EXPECT_EQ(DescribeLoad(LoadRecord(path)), describe);
  }
}

// A save replaces the file whole, or fails with the failing step's error and leaves the old file
// and no temporary one.
TEST(Record, Save) {
  const auto dir = test::ScratchDir("record_save_" + std::to_string(getpid()));
  const auto path = dir / "move.txt";
  test::WriteFile(path, FormatRecord(Moves(40)));
  ASSERT_EQ(SaveRecord(path, Moves(2)), std::error_code());
  EXPECT_EQ(SaveRecord(dir, Moves(2)), std::errc::is_a_directory);
  EXPECT_EQ(SaveRecord(dir / "no" / "move.txt", Moves(2)), std::errc::no_such_file_or_directory);
  EXPECT_EQ(RunInChild([&] {  // a write cut short by the file size limit, as by a full disk
              signal(SIGXFSZ, SIG_IGN);
              rlimit limit{};
              getrlimit(RLIMIT_FSIZE, &limit);
              limit.rlim_cur = 1024;
              return setrlimit(RLIMIT_FSIZE, &limit) ? 0 : SaveRecord(path, Moves(100)).value();
            }),
            EFBIG);
  EXPECT_EQ(test::ReadFile(path), "  1  0 0  1 a\n  2  0 4  1 e\n\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
}

// The record, then a line per node at its own index; the short trace stops short of depth 6.
TEST(Trace, ExactBytes) {
  const std::pair<TraceEntry, std::string> entries[] = {
      {{1, 7, 7, 5}, "     0 01 7=7  5\n"},
      {{2, 10, 4, -3}, "     1 02   A-4 -3\n"},
      {{3, 11, 14, 12}, "     2 03     B=E 12\n"},
      {{4, 12, 0, -12}, "     3 04       C-0 -12\n"},
      {{5, 13, 9, 0}, "     4 05         D=9  0\n"},
      {{6, 14, 13, 127}, "     5 06           E-D 127\n"},
      {{7, 0, 10, -128}, "     6 07             0=A -128\n"},
      {{0, 15, 35, 1}, "     7 00 F-Z  1\n"},
      {{100, 36, 255, -1}, "     8 100 " + std::string(198, ' ') + "?-? -1\n"},
  };
  std::vector<TraceEntry> nodes;
  std::string full = kLines + "\n", brief = full;
  for (const auto& [entry, line] : entries) {
    nodes.push_back(entry);
    full += line;
    brief += entry.depth < 6 ? line : "";
  }
  EXPECT_EQ(FormatTrace(kMoves, nodes, false), full);
  EXPECT_EQ(FormatTrace(kMoves, nodes, true), brief);
  const auto path = test::ScratchDir("trace_" + std::to_string(getpid())) / "trace.txt";
  ASSERT_EQ(SaveTrace(path, kMoves, nodes, true), std::error_code());
  EXPECT_EQ(test::ReadFile(path), brief);
  EXPECT_EQ(LoadTrace(path).moves, kMoves);
}

// The moves are read as a record's up to a node listing after an empty line. Each case: the text,
// how many of kMoves load, the stop and its line.
TEST(Trace, ReadsTheMovesUpToTheListing) {
  const std::string listing = "\n     0 01 7=7  5\n";
  const std::tuple<std::string, size_t, RecordStop, int> cases[] = {
      {kLine1 + "  2  7 8  8 i\n\n     3 01 0=1  5\n", 2, RecordStop::kEnd, 0},  // as a move 3
      {kBom + listing, 0, RecordStop::kNoMoves, 0},
      {kLine1 + "\n  2  7 8  8 i\n" + listing, 2, RecordStop::kEnd, 0},
      {kLines + "\n\x01\xFFgarbage\n", 3, RecordStop::kEnd, 0},
      {"  1  7 7  8 h\r\n  2  7 F  8 i" + listing, 1, RecordStop::kBadColumn, 2},
      {kLine1 + "\n  2  7 8  8 i x\n", 2, RecordStop::kTrailingText, 3},
      {kLines + "     0 01 7=7  5\n", 3, RecordStop::kOutOfSequence, 4},  // no empty line
  };
  for (const auto& [text, moves, stop, line] : cases) {
    const RecordLoad load = ParseTrace(text);
    EXPECT_EQ(load.moves, std::vector<Point>(kMoves.begin(), kMoves.begin() + moves)) << text;
    EXPECT_EQ(load.stop, stop) << text;
    EXPECT_EQ(load.line, line) << text;
  }
}
// The opening log beside the record: its exact text, a round trip through the file and back into
// the opening's state, and damaged logs refused with their reason while the record loads as ever.
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
