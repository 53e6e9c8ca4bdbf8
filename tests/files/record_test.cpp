#include "files/record.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace zel {
namespace {

TEST(Record, ExactBytes) {
  const Point moves[] = {{7, 7}, {7, 8}, {6, 8}};
  EXPECT_EQ(FormatRecord(moves), "  1  7 7  8 h\n  2  7 8  8 i\n  3  6 8  7 i\n\n");
  EXPECT_EQ(FormatMoveLine(12, {9, 9}), " 12  9 9  A j\n");
  EXPECT_EQ(FormatMoveLine(105, {14, 0}), "105  E 0  F a\n");
  EXPECT_EQ(FormatMoveLine(1, {0, 14}), "  1  0 E  1 o\n");
  EXPECT_EQ(FormatRecord({}), "\n");
}

TEST(Record, RoundTripOfAFullBoard) {
  std::vector<Point> moves;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c)
      moves.push_back({(r * 7) % 15, (c * 4 + r) % 15});
  }
  const RecordLoad load = ParseRecord(FormatRecord(moves));
  EXPECT_EQ(load.stop, RecordStop::kEnd);
  EXPECT_EQ(load.moves, moves);
}

struct ParseCase {
  const char* name;
  const char* text;
  size_t moves;
  RecordStop stop;
  int line;
};

const ParseCase kParseCases[] = {
    {"empty file", "", 0, RecordStop::kEnd, 0},
    {"closing empty line", "  1  7 7  8 h\n\n", 1, RecordStop::kEnd, 0},
    {"out of sequence", "  1  7 7  8 h\n  3  7 8  8 i\n", 1, RecordStop::kEnd, 0},
    {"windows line ends", "  1  7 7  8 h\r\n  2  7 8  8 i\r\n\r\n", 2, RecordStop::kEnd, 0},
    {"labels are not checked", "1 7 7 ? ?\n2 7 8 x y\n", 2, RecordStop::kEnd, 0},
    {"lower-case digit", "  1  7 7  8 h\n  2  a 8  8 i\n", 1, RecordStop::kBadDigit, 2},
    {"digit past the board", "  1  F 7  8 h\n", 0, RecordStop::kBadDigit, 1},
    {"not a digit", "  1  7 #  8 h\n", 0, RecordStop::kBadDigit, 1},
    {"line breaks off", "  1  7 7  8 h\n  2  7 8\n  3  6 8  7 i\n", 1, RecordStop::kTruncated, 2},
    {"file breaks off", "  1  7 7  8 h\n  2  7", 1, RecordStop::kTruncated, 2},
    {"occupied point", "  1  7 7  8 h\n  2  7 8  8 i\n  3  7 7  8 h\n", 2, RecordStop::kOccupied,
     3},
    {"garbage after the fields", "  1  7 7  8 h junk\n  2  7 8  8 i\n", 1, RecordStop::kEnd, 0},
    {"not a number", "one 7 7 8 h\n", 0, RecordStop::kEnd, 0},
};

TEST(Record, ParseStopsBeforeABadLine) {
  for (const ParseCase& c : kParseCases) {
    SCOPED_TRACE(c.name);
    const RecordLoad load = ParseRecord(c.text);
    EXPECT_EQ(load.moves.size(), c.moves);
    EXPECT_EQ(load.stop, c.stop);
    EXPECT_EQ(load.line, c.line);
  }
}

TEST(Record, A226thMoveIsRefused) {
  std::ostringstream text;
  for (int k = 0; k < kBoardSize * kBoardSize; ++k) {
    text << FormatMoveLine(k + 1, {k / kBoardSize, k % kBoardSize});
  }
  text << "226  7 7  8 h\n";
  const RecordLoad load = ParseRecord(text.str());
  EXPECT_EQ(load.moves.size(), 225U);
  EXPECT_EQ(load.stop, RecordStop::kTooManyMoves);
}

// Damaged records, made by mutating a valid one byte by byte, load a valid game: moves on the
// board, each on its own point, no more than the board holds.
TEST(Record, DamagedRecordsLoadAValidPrefix) {
  std::vector<Point> moves;
  for (int k = 0; k < 40; ++k)
    moves.push_back({(k * 7) % 15, (k * 11 + k / 15) % 15});
  const std::string record = FormatRecord(moves);
  std::mt19937 rng(42);
  for (int trial = 0; trial < 2000; ++trial) {
    std::string text = record;
    for (int edits = 1 + trial % 4; edits > 0; --edits) {
      text[rng() % text.size()] = static_cast<char>(rng() % 128);
    }
    const RecordLoad load = ParseRecord(text);
    std::set<std::pair<int, int>> seen;
    for (const Point p : load.moves) {
      ASSERT_TRUE(OnBoard(p));
      ASSERT_TRUE(seen.insert({p.row, p.col}).second);
    }
    ASSERT_LE(load.moves.size(), moves.size());
  }
}

TEST(Record, FilesOnDisk) {
  const auto dir = std::filesystem::temp_directory_path() / "zel_record_test";
  std::filesystem::create_directories(dir);
  const auto path = dir / "move.txt";
  const Point moves[] = {{7, 7}, {14, 0}};
  ASSERT_TRUE(SaveRecord(path, moves));
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_EQ(bytes.str(), "  1  7 7  8 h\n  2  E 0  F a\n\n");
  EXPECT_EQ(LoadRecord(path).moves, std::vector<Point>(std::begin(moves), std::end(moves)));

  EXPECT_EQ(LoadRecord(dir / "missing.txt").stop, RecordStop::kCannotOpen);
  EXPECT_EQ(LoadRecord(dir).stop, RecordStop::kCannotOpen);  // a directory
  EXPECT_FALSE(SaveRecord(dir / "no" / "such" / "dir.txt", moves));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zel
