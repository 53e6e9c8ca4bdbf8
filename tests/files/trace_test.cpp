#include "files/trace.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

#include "support/printers.h"
#include "support/run_cli.h"

namespace zel {
namespace {

const std::vector<Point> kMoves = {{7, 7}, {7, 8}, {6, 8}};
const std::string kMoveLines = "  1  7 7  8 h\n  2  7 8  8 i\n  3  6 8  7 i\n";
const std::string kListing = "     0 01 7=7  5\n     1 02   A-4 -3\n";

// Entries at depths 1 to 7, then depths the search does not reach and points it does not give.
const struct {
  TraceEntry entry;
  std::string line;
} kEntries[] = {
    {{1, 7, 7, 5}, "     0 01 7=7  5\n"},
    {{2, 10, 4, -3}, "     1 02   A-4 -3\n"},
    {{3, 11, 14, 12}, "     2 03     B=E 12\n"},
    {{4, 12, 0, -12}, "     3 04       C-0 -12\n"},
    {{5, 13, 9, 0}, "     4 05         D=9  0\n"},
    {{6, 14, 13, 127}, "     5 06           E-D 127\n"},
    {{7, 0, 10, -128}, "     6 07             0=A -128\n"},
    {{0, 15, 35, 1}, "     7 00 F-Z  1\n"},  // no indentation at depth 0
    {{100, 36, 255, -1}, "     8 100 " + std::string(198, ' ') + "?-? -1\n"},
};

std::vector<TraceEntry> Entries() {
  std::vector<TraceEntry> entries;
  for (const auto& e : kEntries)
    entries.push_back(e.entry);
  return entries;
}

std::error_code Errno(int value) {
  return {value, std::generic_category()};
}

// Runs `body` in a child process and returns its exit status. An alarm ends a child that blocks
// after ten seconds (status -1), so that the test fails instead of hanging.
int RunInChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(10);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::filesystem::path ScratchDir(const std::string& name) {
  return test::ScratchDir(name + "_" + std::to_string(getpid()));
}

size_t CountFiles(const std::filesystem::path& dir) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(Trace, ExactBytes) {
  std::string full = kMoveLines + "\n";
  std::string brief = full;
  for (const auto& e : kEntries) {
    full += e.line;
    if (e.entry.depth < 6) brief += e.line;
  }
  EXPECT_EQ(FormatTrace(kMoves, Entries(), false), full);
  EXPECT_EQ(FormatTrace(kMoves, Entries(), true), brief);
  EXPECT_EQ(FormatTrace({}, {}, true), "\n");

  // Entries left out of a short trace keep their indexes for the others.
  std::vector<TraceEntry> entries(12, TraceEntry{6, 1, 1, 1});
  entries.push_back({3, 10, 4, -3});
  EXPECT_EQ(FormatTrace({}, entries, true), "\n    12 03     A=4 -3\n");
}

TEST(Trace, ReadsTheMovesAsARecordUpToTheListing) {
  const std::vector<Point> two(kMoves.begin(), kMoves.begin() + 2);
  // The short listing starts at entry 3, numbered as a third move would be.
  const std::vector<TraceEntry> deepFirst = {
      {6, 0, 0, 0}, {7, 0, 0, 0}, {8, 0, 0, 0}, {1, 7, 7, 5}};
  const struct {
    const char* name;
    std::string text;
    size_t moves;  // how many of kMoves load
    RecordStop stop;
    int line;
  } cases[] = {
      {"listing numbered as the next move", FormatTrace(two, deepFirst, true), 2, RecordStop::kEnd,
       0},
      {"CR LF", "  1  7 7  8 h\r\n\r\n     0 01 7=7  5\r\n", 1, RecordStop::kEnd, 0},
      {"byte order mark, no moves", "\xEF\xBB\xBF\n" + kListing, 0, RecordStop::kNoMoves, 0},
      {"blank line between moves", "  1  7 7  8 h\n\n  2  7 8  8 i\n\n" + kListing, 2,
       RecordStop::kEnd, 0},
      // A damaged listing is still the listing.
      {"listing breaks off", kMoveLines + "\n     0 0", 3, RecordStop::kEnd, 0},
      {"listing of garbage", kMoveLines + "\n\x01\xFFgarbage\n" + kListing, 3, RecordStop::kEnd, 0},
      {"taken point after the empty line", kMoveLines + "\n  4  7 7  8 h\n", 3, RecordStop::kEnd,
       0},
      // Damaged moves stop as a record's do.
      {"bad column", "  1  7 7  8 h\n  2  7 F  8 i\n\n" + kListing, 1, RecordStop::kBadColumn, 2},
      {"trailing text", "  1  7 7  8 h x\n\n" + kListing, 1, RecordStop::kTrailingText, 1},
      {"trailing text after a blank line", "  1  7 7  8 h\n\n  2  7 8  8 i x\n", 2,
       RecordStop::kTrailingText, 3},
      {"no empty line before the listing", kMoveLines + kListing, 3, RecordStop::kOutOfSequence, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const RecordLoad load = ParseTrace(c.text);
    EXPECT_EQ(load.moves, std::vector<Point>(kMoves.begin(), kMoves.begin() + c.moves));
    EXPECT_EQ(load.stop, c.stop);
    EXPECT_EQ(load.line, c.line);
    if (c.stop != RecordStop::kEnd && c.stop != RecordStop::kNoMoves) {
      const RecordLoad asRecord = ParseRecord(c.text);
      EXPECT_EQ(load.moves, asRecord.moves);
      EXPECT_EQ(load.stop, asRecord.stop);
      EXPECT_EQ(load.line, asRecord.line);
      EXPECT_EQ(load.found, asRecord.found);
    }
  }
}

TEST(Trace, SaveAndLoad) {
  const auto dir = ScratchDir("trace_save");
  const auto path = dir / "trace.txt";
  const struct {
    std::vector<Point> moves;
    std::vector<TraceEntry> entries;
    bool shortTrace;
  } cases[] = {
      {kMoves, Entries(), false},
      {kMoves, Entries(), true},
      {{}, Entries(), false},
      {{kMoves[0]}, Entries(), false},
      {{}, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.moves.size());
    ASSERT_EQ(SaveTrace(path, c.moves, c.entries, c.shortTrace), std::error_code());
    EXPECT_EQ(test::ReadFile(path), FormatTrace(c.moves, c.entries, c.shortTrace));
    EXPECT_EQ(CountFiles(dir), 1U);  // no temporary file stays
    const RecordLoad load = LoadTrace(path);
    EXPECT_EQ(load.moves, c.moves);
    EXPECT_EQ(load.stop, c.moves.empty() ? RecordStop::kNoMoves : RecordStop::kEnd);
  }
  std::filesystem::remove_all(dir);
}

// What is not a regular file of at most the size limit is refused, without blocking.
TEST(Trace, RefusesWhatIsNotATraceFile) {
  const auto dir = ScratchDir("trace_refuses");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
  test::WriteFile(dir / "large.txt", FormatTrace(kMoves, Entries(), false));
  std::filesystem::resize_file(dir / "large.txt", kTraceSizeLimit + 1);
  const struct {
    std::filesystem::path path;
    RecordStop stop;
  } cases[] = {
      {dir / "missing.txt", RecordStop::kCannotRead}, {dir, RecordStop::kNotRegularFile},
      {dir / "fifo", RecordStop::kNotRegularFile},    {"/dev/null", RecordStop::kNotRegularFile},
      {dir / "large.txt", RecordStop::kTooLarge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(RunInChild([&] { return static_cast<int>(LoadTrace(c.path).stop); }),
              static_cast<int>(c.stop));
  }
  const RecordLoad refused = LoadTrace(dir / "large.txt");
  EXPECT_TRUE(refused.moves.empty());
  EXPECT_EQ(DescribeLoad(refused), "larger than 67108864 bytes, more than the game ever writes");
  // At the limit the file is read: a trace far larger than any record.
  std::filesystem::resize_file(dir / "large.txt", kTraceSizeLimit);
  const RecordLoad load = LoadTrace(dir / "large.txt");
  EXPECT_EQ(load.moves, kMoves);
  EXPECT_EQ(load.stop, RecordStop::kEnd);
  std::filesystem::remove_all(dir);
}

// A save that fails reports the error of the failing step and leaves the old file whole.
TEST(Trace, FailedSaveKeepsTheOldFile) {
  const auto dir = ScratchDir("trace_save_fails");
  const std::string old = FormatTrace(kMoves, Entries(), false);
  test::WriteFile(dir / "trace.txt", old);
  const std::vector<TraceEntry> many(200, TraceEntry{1, 7, 7, 0});
  const int written = RunInChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 1024;  // a full disk, as the writer sees it
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 255;
    return SaveTrace(dir / "trace.txt", kMoves, many, false).value();
  });
  EXPECT_EQ(written, EFBIG);
  EXPECT_EQ(SaveTrace(dir, kMoves, many, false), Errno(EISDIR));
  EXPECT_EQ(SaveTrace(dir / "no" / "trace.txt", kMoves, many, false), Errno(ENOENT));
  EXPECT_EQ(test::ReadFile(dir / "trace.txt"), old);
  EXPECT_EQ(CountFiles(dir), 1U);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zel
