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

// A full board round-trips through its record; a 226th move is refused.
TEST(Record, FullBoardAndA226thMove) {
  std::vector<Point> moves;
  for (int k = 0; k < kBoardSize * kBoardSize; ++k) {
    moves.push_back({(k / kBoardSize * 7) % 15, (k % kBoardSize * 4 + k / kBoardSize) % 15});
  }
  const std::string text = FormatRecord(moves);
  const RecordLoad load = ParseRecord(text);
  EXPECT_EQ(load.stop, RecordStop::kEnd);
  EXPECT_EQ(load.moves, moves);
  const RecordLoad longer = ParseRecord(text.substr(0, text.size() - 1) + "226  7 7  8 h\n");
  EXPECT_EQ(longer.moves, moves);
  EXPECT_EQ(longer.stop, RecordStop::kTooManyMoves);
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
