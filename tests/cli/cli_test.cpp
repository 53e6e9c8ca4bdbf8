// zel-cli's commands: what they print and how they refuse, as exact text, and the diagram reader
// of forbidden and judge. What the commands compute is tested in the layers below.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <string>
#include <vector>

#include "support/positions.h"
#include "support/run_cli.h"

namespace zel {
namespace {

// Black's shapes, kept apart, and White's stones on the top and bottom edges:
//   row 1:     x x x . x x       the gap (1, 11) makes six: an overline
//   column 1:  x x x . x         the gap (6, 1) makes exactly five
//   (7, 12):   two open twos, (7, 10) (7, 11) and (8, 12) (9, 12), crossing: a double three
//   row 13:    x x x . P . x x x  P = (13, 7) makes a four on each side: a double four
const std::string kShapes =
    "oo.oo.oo.oo.oo.\n"
    "........xxx.xx.\n"
    "...............\n"
    ".x.............\n"
    ".x.............\n"
    ".x.............\n"
    "...............\n"
    ".x........xx...\n"
    "............x..\n"
    "............x..\n"
    "...............\n"
    "...............\n"
    "...............\n"
    "...xxx...xxx...\n"
    "oo.oo.oo.oo....\n";
const std::string kForbidden = "1 11 overline\n7 12 double-three\n13 7 double-four\n";

// kShapes with line `row` (from 0) replaced by `line`, or cut off there when `line` is null.
std::string Edit(size_t row, const char* line) {
  const std::string before = kShapes.substr(0, row * 16);
  return line ? before + line + "\n" + kShapes.substr(std::min(row * 16 + 16, kShapes.size()))
              : before;
}

std::string Moves(const std::string& points) {
  return FormatRecord(test::Points(points));
}

std::string Replace(std::string text, const std::string& path) {
  for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + path.size()))
    text.replace(at, 1, path);
  return text;
}

// Each case runs zel-cli on a file holding `file` (its path written % in the case) and compares
// stdout followed by stderr: exactly, or as a regular expression after "~". A line on stderr
// other than a warning goes with exit status 2, and nothing on stdout.
TEST(Cli, OutputsAndRefusals) {
  std::string full;
  for (int k = 0; k < kBoardSize * kBoardSize; ++k)
    full += std::to_string(k / kBoardSize) + "," + std::to_string(k % kBoardSize) + " ";
  full = Moves(full);
  const std::string usage = "zel-cli: usage: zel-cli ";
  const std::string searchUsage = usage + "search FILE [--level L (at most 58)] [--seed N]\n";
  const std::string judgeUsage = usage + "judge FILE R C (row and column, 0 to 14)\n";
  const std::string selfPlayUsage = usage + "selfplay N [--seed S] [--level L]\n";
  const std::string d = "(\\d+\\.)?\\d+";  // a number
  // The same stones played as a game, Black's and White's in turn.
  const std::string record = Moves(
      "1,8 0,0 1,9 0,1 1,10 0,3 1,12 0,4 1,13 0,6 3,1 0,7 4,1 0,9 5,1 0,10 7,1 0,12 7,10 0,13 "
      "7,11 14,0 8,12 14,1 9,12 14,3 13,3 14,4 13,4 14,6 13,5 14,7 13,9 14,9 13,10 14,10 13,11");
  // Every spelling at once: a byte order mark, spaces, capitals, CR LF, blank lines after.
  std::string spelled = "\xEF\xBB\xBF ";
  for (const char c : kShapes)
    spelled +=
        c == '\n' ? std::string("\r\n ") : std::string(1, static_cast<char>(std::toupper(c))) + " ";
  spelled += "\n  \r\n\n";
  const struct {
    std::string file;
    std::string command;
    std::string printed;
  } cases[] = {
      {"", "--help", "~usage: zel-cli COMMAND \\[ARGS\\]\n[^]*\n  judge FILE R C [^]*"},
      {"", "", "zel-cli: no command (try zel-cli --help)\n"},
      {"", "frobnicate", "zel-cli: unknown command 'frobnicate' (try zel-cli --help)\n"},
      {"", "codes /no/m.txt", "zel-cli: /no/m.txt: cannot read: No such file or directory\n"},
      {"", "judge /no/m.txt 7 7", "zel-cli: /no/m.txt: cannot read: No such file or directory\n"},
      // "r c board", Black's five codes, White's five, from (0, 0) to (14, 14).
      {Moves("7,7 7,8"), "codes %", "~0 0 0 1 1 1 1 0 1 1 1 1 0\n[^]*\n14 14 0( \\d+){10}\n"},
      {Moves("7,7"), "codes % x", usage + "codes FILE\n"},
      // Black's open three: "kind count r,c,d ...".
      {Moves("7,7 0,0 7,6 0,14 7,8"), "threats %",
       "0 0\n1 2 7,5,0 7,9,0\n2 0\n3 2 7,4,0 7,10,0\n4 0\n5 0\n6 0\n7 0\n8 0\n9 0\n10 0\n"},
      {Moves("7,8 0,0 7,10"), "answers % threes 7 7 1", "7,7 7,6 7,9 7,11\n"},
      {Moves("7,7"), "answers % fours 7 7 1",
       "zel-cli: unknown answer kind 'fours' (straight4, fourthree or threes)\n"},
      {Moves("7,7"), "answers % threes 7 15 1",
       "zel-cli: the point must lie on the board (0 to 14)\n"},
      {Moves("7,7"), "answers % threes 7 7 3", "zel-cli: COLOUR must be 1 (Black) or 2 (White)\n"},
      {Moves("7,7"), "answers % threes 7 7", usage + "answers FILE KIND R C COLOUR\n"},
      // An opening rule ranks nothing; seed 1 starts 41, 18467: (6 + 41 % 3, 6 + 18467 % 3).
      {Moves("7,7"), "choose % --seed 1", "8 8\n- -\n"},
      // The one-ply choice ranks: "r c" and "count top-count".
      {"\n", "choose %",
       "~\\d+ \\d+\n\\d+ \\d+\nzel-cli: warning: %: no move line; the game is empty\n"},
      {full, "choose %", "none\n"},
      {Moves("7,7"), "choose % --seed -3",
       "zel-cli: --seed needs a number from 0 to 2147483647, not '-3'\n"},
      {Moves("7,7"), "choose % %", usage + "choose FILE [--seed N]\n"},
      // Black's open four: "r c value depth", the five found at the root.
      {Moves("7,7 14,0 7,8 12,0 7,9 10,0 7,10 8,0"), "search %",
       "~7 6 3 1\nnodes 1 ms " + d + "\n"},
      {Moves("7,7 6,8 8,8"), "search % --level 0", "~\\d+ \\d+ 0 0\nnodes 0 ms " + d + "\n"},
      {full, "search %", "none\n"},
      {Moves("7,7"), "search % --level 59", searchUsage},
      {Moves("7,7"), "search % --depth 3", searchUsage},
      {"", "bench x", usage + "bench\n"},
      {"", "selfplay 1 --seed 3 --level 2",
       "~game 1: \\d+ moves, (full board|black five|white five), black moves on marked points "
       "\\d+, forbidden \\d+, slowest " +
           d + " ms\n1 games: (\\d+ (black fives|white fives|full boards)[,;] ){3}black moves on " +
           "marked points \\d+, forbidden \\d+\n\\d+ computer moves: average " + d +
           " ms, slowest " + d + " ms\n"},
      {"", "selfplay 0", selfPlayUsage},
      {"", "selfplay 1 --level 99", selfPlayUsage},
      // The diagram reader: every spelling of the diagram, and a record, read the same.
      {kShapes, "forbidden %", kForbidden},
      {spelled, "forbidden %", kForbidden},
      {record, "forbidden %", kForbidden},
      {record + "junk\n", "judge % 7 12",
       "double-three\nzel-cli: warning: %: line 39: not a move line: \"junk\"; loading stops "
       "there, after 37 moves\n"},
      {Moves(""), "forbidden %", "zel-cli: warning: %: no move line; the game is empty\n"},
      {Edit(2, ".............."), "forbidden %",
       "zel-cli: %:3: 14 points where 15 were expected\n"},
      {Edit(4, "...z..........."), "judge % 7 7", "zel-cli: %:5: 'z' is not a point (x, o or .)\n"},
      {Edit(3, ".\x7f............."), "forbidden %",
       "zel-cli: %:4: byte 0x7f is not a point (x, o or .)\n"},
      {Edit(0, "oo.oo.oo.oo.oo.\r..............."), "forbidden %",
       "zel-cli: %:1: a CR that does not end the line (lines end with LF or CR LF)\n"},
      {Edit(9, ""), "forbidden %", "zel-cli: %:10: 0 points where 15 were expected\n"},
      {Edit(1, nullptr), "forbidden %",
       "zel-cli: %:2: the file ends after 1 row where 15 were expected\n"},
      {Edit(14, nullptr), "forbidden %",
       "zel-cli: %:15: the file ends after 14 rows where 15 were expected\n"},
      {Edit(15, "\nx"), "forbidden %", "zel-cli: %:17: text after the 15 rows\n"},
      {kShapes, "forbidden % %", usage + "forbidden FILE\n"},
      {kShapes, "judge % 1 11", "overline\n"},
      {kShapes, "judge % 13 6", "legal\n"},  // a single four beside the double four
      {kShapes, "judge % 1 8",
       "zel-cli: point 1 8 holds a stone; only an empty point can be judged\n"},
      {kShapes, "judge % 7", judgeUsage},
      {kShapes, "judge % 7 7x", judgeUsage},
  };
  const auto dir = test::ScratchDir("cli_" + std::to_string(getpid()));
  int files = 0;
  for (const auto& c : cases) {
    const std::string path = (dir / std::to_string(++files)).string();
    test::WriteFile(path, c.file);
    const std::string printed = Replace(c.printed, path);
    SCOPED_TRACE(Replace(c.command, path));
    const test::CliRun run = test::RunCli(Replace(c.command, path), 60);
    if (printed.starts_with("~")) {
      EXPECT_TRUE(std::regex_match(run.out + run.err, std::regex(printed.substr(1)))) << run.out;
    } else {
      EXPECT_EQ(run.out + run.err, printed);
    }
    const bool refused = !run.err.empty() && !run.err.starts_with("zel-cli: warning: ");
    EXPECT_EQ(run.status, refused ? 2 : 0);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zel
