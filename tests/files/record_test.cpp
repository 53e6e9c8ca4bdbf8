#include "files/record.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "support/printers.h"
#include "support/run_cli.h"

namespace zel {
namespace {

using test::ReadFile;
using test::WriteFile;

const std::string kLine1 = "  1  7 7  8 h\n";
const std::string kLine2 = "  2  7 8  8 i\n";
const std::string kLine3 = "  3  6 8  7 i\n";

// Runs `body` in a child process and returns its exit status, or -1 when it has not exited
// within ten seconds (it is then killed), so that a blocking call fails the test instead of
// hanging it.
int RunInChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  for (int waited = 0; waited < 1000; ++waited) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child)
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    usleep(10'000);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return -1;
}

// A scratch directory of this process's own.
std::filesystem::path ScratchDir(const std::string& name) {
  return test::ScratchDir(name + "_" + std::to_string(getpid()));
}

std::vector<std::string> Names(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// `count` moves on distinct points.
std::vector<Point> Moves(int count) {
  std::vector<Point> moves;
  for (int k = 0; k < count; ++k)
    moves.push_back({k / kBoardSize, (k * 4) % kBoardSize});
  return moves;
}

TEST(Record, ExactBytes) {
  const Point moves[] = {{7, 7}, {7, 8}, {6, 8}};
  EXPECT_EQ(FormatRecord(moves), kLine1 + kLine2 + kLine3 + "\n");
  EXPECT_EQ(FormatMoveLine(12, {9, 9}), " 12  9 9  A j\n");
  EXPECT_EQ(FormatMoveLine(105, {14, 0}), "105  E 0  F a\n");
  EXPECT_EQ(FormatMoveLine(1, {0, 14}), "  1  0 E  1 o\n");
  EXPECT_EQ(FormatRecord({}), "\n");
  const std::vector<Point> five = {{7, 7}, {7, 8}, {6, 8}, {14, 0}, {0, 14}};
  EXPECT_EQ(ParseRecord(FormatRecord(five)).moves, five);
}

// A full board round-trips through its record; a 226th move is refused.
TEST(Record, FullBoardAndA226thMove) {
  const std::vector<Point> moves = Moves(kBoardSize * kBoardSize);
  const std::string text = FormatRecord(moves);
  EXPECT_EQ(ParseRecord(text).stop, RecordStop::kEnd);
  EXPECT_EQ(ParseRecord(text).moves, moves);
  const RecordLoad longer = ParseRecord(text.substr(0, text.size() - 1) + "226  7 7  8 h\n");
  EXPECT_EQ(longer.moves, moves);
  EXPECT_EQ(longer.stop, RecordStop::kTooManyMoves);
  EXPECT_EQ(DescribeLoad(longer),
            "line 226: a 226th move, more than the board has points; loading stops there, after "
            "225 moves");
}

struct ParseCase {
  const char* name;
  std::string text;
  size_t moves;  // how many of 7 7, 7 8, 6 8 load
  RecordStop stop;
  int line;
  std::string message;  // empty: not checked
};

void Check(const ParseCase& c) {
  SCOPED_TRACE(c.name);
  const RecordLoad load = ParseRecord(c.text);
  const std::vector<Point> all = {{7, 7}, {7, 8}, {6, 8}};
  EXPECT_EQ(load.moves, std::vector<Point>(all.begin(), all.begin() + c.moves));
  EXPECT_EQ(load.stop, c.stop);
  EXPECT_EQ(load.line, c.line);
  if (!c.message.empty()) {
    EXPECT_EQ(DescribeLoad(load), c.message);
  }
}

TEST(Record, ByteOrderMarkAndLineEnds) {
  const std::string bom = "\xEF\xBB\xBF";
  const ParseCase cases[] = {
      {"CR only", "  1  7 7  8 h\r  2  7 8  8 i\r  3  6 8  7 i\r\r", 3, RecordStop::kEnd, 0, ""},
      {"CR LF", "  1  7 7  8 h\r\n  2  7 8  8 i\r\n  3  6 8  7 i\r\n\r\n", 3, RecordStop::kEnd, 0,
       "3 moves, to the end of the record"},
      {"BOM", bom + kLine1 + kLine2 + "\n", 2, RecordStop::kEnd, 0, ""},
      {"BOM, CR LF", bom + "  1  7 7  8 h\r\n\r\n", 1, RecordStop::kEnd, 0, ""},
      // CR LF is one line end, a lone CR another.
      {"CR LF lines counted", "  1  7 7  8 h\r\n\r\n  3  7 8  8 i\r\n", 1,
       RecordStop::kOutOfSequence, 3, ""},
      {"CR lines counted", "  1  7 7  8 h\r\r  2  7 8  8 i\rx\r", 2, RecordStop::kNotAMove, 4, ""},
      {"LF CR is two line ends", "  1  7 7  8 h\n\r  3  7 8  8 i\n", 1, RecordStop::kOutOfSequence,
       3, ""},
      // Only a mark at the very start is skipped.
      {"BOM on line 2", kLine1 + bom + kLine2, 1, RecordStop::kNotAMove, 2,
       "line 2: not a move line: \"\\xEF\\xBB\\xBF  2  7 8  8 i\"; loading stops there, after 1 "
       "move"},
  };
  for (const ParseCase& c : cases)
    Check(c);
}

TEST(Record, EarlyStops) {
  const ParseCase cases[] = {
      {"second line numbered 3", kLine1 + "  3  7 8  8 i\n" + kLine3, 1, RecordStop::kOutOfSequence,
       2, "line 2: move number 3 where 2 was expected; loading stops there, after 1 move"},
      {"not a move line", kLine1 + kLine2 + "\nhello world\n", 2, RecordStop::kNotAMove, 4,
       "line 4: not a move line: \"hello world\"; loading stops there, after 2 moves"},
      {"long text cut", kLine1 + std::string(40, 'x'), 1, RecordStop::kNotAMove, 2,
       "line 2: not a move line: \"" + std::string(24, 'x') +
           "...\"; loading stops there, after 1 move"},
      {"lower-case row", kLine1 + "  2  a 8  8 i\n", 1, RecordStop::kBadRow, 2,
       "line 2: row digit \"a\" is not one of 0-9, A-E; loading stops there, after 1 move"},
      {"row F", "  1  F 7  8 h\n", 0, RecordStop::kBadRow, 1, ""},
      {"column F", kLine1 + "  2  7 F  8 i\n", 1, RecordStop::kBadColumn, 2,
       "line 2: column digit \"F\" is not one of 0-9, A-E; loading stops there, after 1 move"},
      {"column ':'", "  1  7 :  8 h\n", 0, RecordStop::kBadColumn, 1, ""},
      {"control byte", "  1  \x01 7  8 h\n", 0, RecordStop::kBadRow, 1,
       "line 1: row digit \"\\x01\" is not one of 0-9, A-E; loading stops there, after 0 moves"},
      {"breaks off", kLine1 + "  2  7 8  8\n" + kLine3, 1, RecordStop::kTruncated, 2,
       "line 2: move 2 breaks off before its four fields; loading stops there, after 1 move"},
      {"breaks off at the end", kLine1 + "  2  7", 1, RecordStop::kTruncated, 2, ""},
      {"number alone", kLine1 + "2\n", 1, RecordStop::kTruncated, 2, ""},
      {"occupied", kLine1 + kLine2 + "  3  7 7  8 h\n", 2, RecordStop::kOccupied, 3,
       "line 3: point 7 7 is taken by an earlier move; loading stops there, after 2 moves"},
      // The move before the trailing text is kept.
      {"trailing text", kLine1 + "  2  7 8  8 i  extra \n" + kLine3, 2, RecordStop::kTrailingText,
       2, "line 2: text after the move: \"extra\"; loading stops there, after 2 moves"},
      {"fields run together", "1 778h\n", 1, RecordStop::kEnd, 0, ""},
      {"no line end at the end", kLine1 + "  2  7 8  8 i", 2, RecordStop::kEnd, 0, ""},
      {"blank lines between", kLine1 + "\n \t\n" + kLine2 + "\n\n", 2, RecordStop::kEnd, 0, ""},
  };
  for (const ParseCase& c : cases)
    Check(c);
}

TEST(Record, MoveNumbersRunOneTwoThree) {
  const ParseCase cases[] = {
      {"1, 2, 2", kLine1 + kLine2 + "  2  6 8  7 i\n", 2, RecordStop::kOutOfSequence, 3,
       "line 3: move number 2 where 3 was expected; loading stops there, after 2 moves"},
      {"1, 3", kLine1 + "  3  7 8  8 i\n", 1, RecordStop::kOutOfSequence, 2, ""},
      {"0", "  0  7 7  8 h\n", 0, RecordStop::kOutOfSequence, 1,
       "line 1: move number 0 where 1 was expected; loading stops there, after 0 moves"},
      {"-1", " -1  7 7  8 h\n", 0, RecordStop::kOutOfSequence, 1,
       "line 1: move number -1 where 1 was expected; loading stops there, after 0 moves"},
      {"huge", "99999999999999999999  7 7  8 h\n", 0, RecordStop::kOutOfSequence, 1,
       "line 1: move number 99999999999999999999 where 1 was expected; loading stops there, "
       "after 0 moves"},
      {"2^64 + 1", "18446744073709551617  7 7  8 h\n", 0, RecordStop::kOutOfSequence, 1, ""},
      // As the classic reader's %d: a sign and leading zeros are allowed.
      {"+1, 002", "+1  7 7  8 h\n002  7 8  8 i\n", 2, RecordStop::kEnd, 0, ""},
  };
  for (const ParseCase& c : cases)
    Check(c);
}

// A file with nothing but white space holds no moves; one whose first line is not a move says
// why, at line 1.
TEST(Record, FilesWithoutMoves) {
  const ParseCase cases[] = {
      {"empty", "", 0, RecordStop::kNoMoves, 0, "no move line; the game is empty"},
      {"an empty game's record", FormatRecord({}), 0, RecordStop::kNoMoves, 0, ""},
      {"blank lines", "\n  \r\n\t\r\n", 0, RecordStop::kNoMoves, 0, ""},
      {"byte order mark only", "\xEF\xBB\xBF", 0, RecordStop::kNoMoves, 0, ""},
      {"garbage first line", "move.txt\n" + kLine1, 0, RecordStop::kNotAMove, 1, ""},
      {"first line numbered 2", "  2  7 7  8 h\n", 0, RecordStop::kOutOfSequence, 1, ""},
  };
  for (const ParseCase& c : cases)
    Check(c);
}

// Damaged records, made by mutating a valid one byte by byte, load a valid game: moves on the
// board, each on its own point, no more than the board holds, and a one-line message.
TEST(Record, DamagedRecordsLoadAValidPrefix) {
  const std::string record = FormatRecord(Moves(40));
  std::mt19937 rng(42);
  for (int trial = 0; trial < 2000; ++trial) {
    std::string text = record;
    for (int edits = 1 + trial % 4; edits > 0; --edits) {
      text[rng() % text.size()] = static_cast<char>(rng() % 256);
    }
    const RecordLoad load = ParseRecord(text);
    std::set<std::pair<int, int>> seen;
    for (const Point p : load.moves) {
      ASSERT_TRUE(OnBoard(p));
      ASSERT_TRUE(seen.insert({p.row, p.col}).second);
    }
    ASSERT_LE(load.moves.size(), 40U);
    const std::string message = DescribeLoad(load);
    ASSERT_TRUE(std::all_of(message.begin(), message.end(), [](char ch) {
      return ch >= ' ' && ch <= '~';
    })) << message;
  }
}

// What is not a regular file of at most the size limit is refused, without blocking.
TEST(Record, RefusesWhatIsNotARecordFile) {
  const auto dir = ScratchDir("record_refuses");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  WriteFile(dir / "large.txt",
            FormatRecord(Moves(3)) +
                std::string(kRecordSizeLimit - FormatRecord(Moves(3)).size() + 1, '\n'));
  const struct {
    std::filesystem::path path;
    RecordStop stop;
    const char* message;
  } cases[] = {
      {dir / "missing.txt", RecordStop::kCannotRead, "cannot read: No such file or directory"},
      {dir, RecordStop::kNotRegularFile, "not a regular file but a directory"},
      {dir / "fifo", RecordStop::kNotRegularFile, "not a regular file but a pipe"},
      {"/dev/null", RecordStop::kNotRegularFile, "not a regular file but a character device"},
      {dir / "large.txt", RecordStop::kTooLarge,
       "larger than 1048576 bytes, more than the game ever writes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    ASSERT_EQ(RunInChild([&] { return static_cast<int>(LoadRecord(c.path).stop); }),
              static_cast<int>(c.stop));
    const RecordLoad load = LoadRecord(c.path);
    EXPECT_TRUE(load.moves.empty());
    EXPECT_TRUE(IsFileError(load.stop));
    EXPECT_EQ(DescribeLoad(load), c.message);
  }
  // One byte less is within the limit: the record loads.
  WriteFile(
      dir / "large.txt",
      FormatRecord(Moves(3)) + std::string(kRecordSizeLimit - FormatRecord(Moves(3)).size(), '\n'));
  const RecordLoad load = LoadRecord(dir / "large.txt");
  EXPECT_EQ(load.stop, RecordStop::kEnd);
  EXPECT_EQ(load.moves, Moves(3));
  std::filesystem::remove_all(dir);
}

TEST(Record, SaveReplacesTheFileWhole) {
  const auto dir = ScratchDir("record_save");
  WriteFile(dir / "move.txt", FormatRecord(Moves(40)));
  const mode_t mask = umask(027);
  const std::error_code saved = SaveRecord(dir / "move.txt", Moves(2));
  umask(mask);
  ASSERT_EQ(saved, std::error_code());
  EXPECT_EQ(ReadFile(dir / "move.txt"), "  1  0 0  1 a\n  2  0 4  1 e\n\n");
  EXPECT_EQ(LoadRecord(dir / "move.txt").moves, Moves(2));
  EXPECT_EQ(Names(dir), std::vector<std::string>{"move.txt"});
  struct stat status {};
  ASSERT_EQ(stat((dir / "move.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640U);  // a new file's mode under the umask

  // A bare file name saves into the current directory.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  EXPECT_EQ(SaveRecord(kRecordFileName, Moves(1)), std::error_code());
  std::filesystem::current_path(cwd);
  EXPECT_EQ(ReadFile(dir / "move.txt"), "  1  0 0  1 a\n\n");
  EXPECT_EQ(Names(dir), std::vector<std::string>{"move.txt"});
  std::filesystem::remove_all(dir);
}

TEST(Record, FailedSaveLeavesEverythingAsItWas) {
  const auto dir = ScratchDir("record_save_fails");
  std::filesystem::create_directory(dir / "taken");
  WriteFile(dir / "taken" / "move.txt", kLine1);
  // The error is that of the step that failed: the rename over a directory, the creation of the
  // temporary file in a directory that does not exist.
  EXPECT_EQ(SaveRecord(dir / "taken", Moves(2)), std::error_code(EISDIR, std::generic_category()));
  EXPECT_EQ(SaveRecord(dir / "no" / "move.txt", Moves(2)),
            std::error_code(ENOENT, std::generic_category()));
  EXPECT_EQ(SaveRecord(dir / "", Moves(2)), std::error_code(EISDIR, std::generic_category()));
  EXPECT_EQ(Names(dir), std::vector<std::string>{"taken"});
  EXPECT_EQ(Names(dir / "taken"), std::vector<std::string>{"move.txt"});
  EXPECT_EQ(ReadFile(dir / "taken" / "move.txt"), kLine1);
  std::filesystem::remove_all(dir);
}

// A write that fails part way (here the file size limit, as a full disk would) leaves the old
// record whole and no temporary file.
TEST(Record, WriteFailureKeepsTheOldFile) {
  const auto dir = ScratchDir("record_write_fails");
  const std::string old = FormatRecord(Moves(5));
  WriteFile(dir / "move.txt", old);
  ASSERT_GT(FormatRecord(Moves(100)).size(), 1024U);
  const int result = RunInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 1024;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    return SaveRecord(dir / "move.txt", Moves(100)).value();
  });
  EXPECT_EQ(result, EFBIG);  // the write's own error
  EXPECT_EQ(ReadFile(dir / "move.txt"), old);
  EXPECT_EQ(Names(dir), std::vector<std::string>{"move.txt"});
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zel
