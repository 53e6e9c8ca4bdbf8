// The bench is the search's signature: every position's answer and node count, and their total.
// Any change to what the search does shows here. When a change of behaviour is intended, update
// the table and the README together.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/run_cli.h"

namespace zel {
namespace {

struct BenchLine {
  const char* name;
  const char* answer;  // row col value depth nodes
};

constexpr BenchLine kExpected[] = {
    {"piskvork-01", "5 9 0 0 337"},
    {"piskvork-02", "5 7 0 0 58"},
    {"piskvork-03", "6 7 0 0 93"},
    {"piskvork-04", "6 6 0 0 51"},
    {"piskvork-05", "6 7 0 0 67"},
    {"piskvork-06", "6 6 0 0 51"},
    {"piskvork-23", "5 9 0 0 1090"},
    {"piskvork-27", "6 7 -2 12 12728"},
    {"piskvork-31", "8 6 0 0 71"},
    {"piskvork-32", "6 7 0 0 2457"},
    {"three-h8-j8", "7 6 0 1 4861"},
    {"three-h8-j8-b", "7 6 0 1 8964"},
    {"quintet-test_vcf_black", "2 9 -3 2 52"},
    {"quintet-test_vcf_counter", "7 8 3 5 5"},
    {"quintet-test_vcf_white", "2 11 -3 10 10"},
    {"mintaka-basic_vcf-1", "6 10 3 9 11"},
    {"mintaka-trap_vcf-2", "7 4 0 0 13518"},
    {"lfz084/ひとりでも楽しめる詰連珠の部屋/158", "7 5 3 7 25"},
    {"lfz084/一手の詰連珠HT/001", "5 9 3 4 4"},
    {"lfz084/一手の詰連珠HT/002", "8 10 3 3 13"},
    {"lfz084/一手の詰連珠HT/004", "6 11 -3 4 12"},
    {"lfz084/一手の詰連珠HT/007", "5 8 -3 6 8"},
    {"lfz084/一手の詰連珠HT/013", "4 8 2 4 2602"},
    {"lfz084/五子棋阶梯训练第一章/026", "9 9 3 15 2669"},
    {"lfz084/例题演示/005", "4 5 3 13 3325"},
    {"lfz084/冈部宽连珠习题/013", "5 8 3 9 1177"},
    {"lfz084/三手胜五子棋题解/060", "8 8 2 0 2208"},
    {"lfz084/三手胜五子棋题解/081", "9 9 2 0 1666"},
    {"lfz084/三手胜五子棋题解/084", "7 8 0 0 24807"},
    {"lfz084/ひとりでも楽しめる詰連珠の部屋/038", "9 8 0 0 1825"},
    {"lfz084/ひとりでも楽しめる詰連珠の部屋/060", "8 7 3 7 1394"},
    {"lfz084/ひとりでも楽しめる詰連珠の部屋/158", "7 4 3 6 22"},
    {"lfz084/一手の詰連珠HT/001", "6 8 3 3 3"},
    {"lfz084/一手の詰連珠HT/002", "8 8 3 2 2"},
    {"lfz084/一手の詰連珠HT/004", "5 12 -3 3 9"},
    {"lfz084/一手の詰連珠HT/007", "4 9 -3 5 7"},
};

TEST(Bench, EveryPositionAndTheTotal) {
  const test::CliRun run = test::RunCli("bench");
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream out(run.out);
  std::string line;
  for (const BenchLine& expected : kExpected) {
    ASSERT_TRUE(std::getline(out, line));
    // "name row col value depth nodes ms": all but the time.
    EXPECT_EQ(line.substr(0, line.rfind(' ')), std::string(expected.name) + " " + expected.answer);
  }
  ASSERT_TRUE(std::getline(out, line));
  EXPECT_EQ(line, "Total nodes 86202");
}

}  // namespace
}  // namespace zel
