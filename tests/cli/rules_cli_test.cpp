// zel-cli forbidden and judge, on board diagrams and on game records.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/run_cli.h"

namespace zel {
namespace {

using test::RunCli;

// Black's four shapes, kept apart so that no line holds stones of two of them, and White's
// stones on the top and bottom edges, away from every shape's lines:
//   row 1:      x x x . x x      the gap (1, 11) makes six: an overline
//   column 1:   x x x . x        the gap (6, 1) makes exactly five
//   (7, 12):    two open twos, (7, 10) (7, 11) and (8, 12) (9, 12), crossing: a double three
//   row 13:     x x x . P . x x x    P = (13, 7) makes a four on each side: a double four
constexpr const char* kShapes =
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

constexpr const char* kShapesForbidden = "1 11 overline\n7 12 double-three\n13 7 double-four\n";

std::string EmptyBoard() {
  std::string text;
  for (int row = 0; row < kBoardSize; ++row)
    text += std::string(kBoardSize, '.') + "\n";
  return text;
}

// Each row of a diagram, without its line end.
std::vector<std::string> Rows(const std::string& diagram) {
  std::vector<std::string> rows;
  for (size_t start = 0; start < diagram.size();) {
    const size_t end = std::min(diagram.find('\n', start), diagram.size());
    rows.push_back(diagram.substr(start, end - start));
    start = end + 1;
  }
  return rows;
}

// The moves of a game that reaches the diagram's position: Black's and White's stones in turn,
// row by row.
std::vector<Point> Moves(const std::string& diagram) {
  std::vector<Point> black;
  std::vector<Point> white;
  const std::vector<std::string> rows = Rows(diagram);
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (rows[r][c] == 'x') black.push_back({r, c});
      if (rows[r][c] == 'o') white.push_back({r, c});
    }
  }
  std::vector<Point> moves;
  for (size_t k = 0; k < black.size(); ++k) {
    moves.push_back(black[k]);
    if (k < white.size()) moves.push_back(white[k]);
  }
  return moves;
}

class RulesCli : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = test::ScratchDir("rules_cli_" + std::to_string(getpid()) + "_" + name);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Writes `text` as a file of the scratch directory and returns its path.
  std::string File(const std::string& text) {
    const auto path = dir_ / ("position" + std::to_string(++files_) + ".txt");
    test::WriteFile(path, text);
    return path.string();
  }

  std::filesystem::path dir_;
  int files_ = 0;
};

// The same position as a diagram, in every accepted spelling, and as a record gives the same
// forbidden points; a position without one prints nothing.
TEST_F(RulesCli, ForbiddenPoints) {
  std::string spaced;  // "  . . x o ... " and no line end after the last row
  std::string crlf;
  std::string capitals;
  for (const std::string& row : Rows(kShapes)) {
    if (!spaced.empty()) spaced += "\n";
    spaced += " ";
    for (const char c : row)
      spaced += std::string(1, c) + " ";
    crlf += row + "\r\n";
  }
  for (const char c : std::string(kShapes))
    capitals += c == 'x' ? 'X' : c == 'o' ? 'O' : c;
  const std::string shapes = kShapes;
  const struct {
    const char* what;
    std::string text;
    const char* out;
    const char* warning;  // after "zel-cli: warning: FILE: ", or none
  } cases[] = {
      {"diagram", shapes, kShapesForbidden, nullptr},
      {"spaces and no line end", spaced, kShapesForbidden, nullptr},
      {"CR LF", crlf, kShapesForbidden, nullptr},
      {"capitals", capitals, kShapesForbidden, nullptr},
      {"blank lines after the diagram", shapes + "\n  \r\n\n", kShapesForbidden, nullptr},
      {"byte order mark", "\xEF\xBB\xBF" + shapes, kShapesForbidden, nullptr},
      {"record", FormatRecord(Moves(kShapes)), kShapesForbidden, nullptr},
      {"empty board", EmptyBoard(), "", nullptr},
      {"empty record", FormatRecord({}), "", "no move line; the game is empty"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = File(c.text);
    const test::CliRun run = RunCli("forbidden " + path);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              c.warning ? "zel-cli: warning: " + path + ": " + c.warning + "\n" : std::string());
    EXPECT_EQ(run.out, c.out);
  }
}

TEST_F(RulesCli, JudgeEachPoint) {
  const std::string diagram = File(kShapes);
  const std::string record = File(FormatRecord(Moves(kShapes)));
  const struct {
    const char* point;
    const char* verdict;
  } cases[] = {
      {"1 11", "overline"}, {"13 7", "double-four"}, {"7 12", "double-three"}, {"6 1", "five"},
      {"10 6", "legal"},    {"1 7", "legal"},  // a four whose other five point is an overline
      {"13 6", "legal"},                       // a single four beside the double four
  };
  for (const auto& c : cases) {
    for (const std::string& file : {diagram, record}) {
      SCOPED_TRACE(std::string(c.point) + " in " + file);
      const test::CliRun run = RunCli("judge " + file + " " + c.point);
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(run.err, "");
      EXPECT_EQ(run.out, std::string(c.verdict) + "\n");
    }
  }
}

// A damaged record is read as the other commands read it: one warning, and the valid moves.
TEST_F(RulesCli, DamagedRecordWarnsAndKeepsItsValidMoves) {
  const std::string path = File(FormatRecord(Moves(kShapes)) + "junk\n");
  for (const char* arguments : {"forbidden", "judge"}) {
    SCOPED_TRACE(arguments);
    const test::CliRun run =
        RunCli(std::string(arguments) + " " + path + (arguments[0] == 'j' ? " 7 12" : ""));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err.rfind("zel-cli: warning: " + path + ": ", 0), 0U) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, arguments[0] == 'j' ? "double-three\n" : kShapesForbidden);
  }
}

// Every refusal is one line on stderr, with exit status 2 and nothing on stdout; a wrong diagram
// names its line.
TEST_F(RulesCli, Refusals) {
  const std::vector<std::string> rows = Rows(kShapes);
  auto diagram = [](std::vector<std::string> lines) {
    std::string text;
    for (const std::string& line : lines)
      text += line + "\n";
    return text;
  };
  std::vector<std::string> shortLine = rows;
  shortLine[2].pop_back();
  std::vector<std::string> longLine = rows;
  longLine[6] += ".";
  std::vector<std::string> badPoint = rows;
  badPoint[4][3] = 'z';
  std::vector<std::string> fourteen(rows.begin(), rows.end() - 1);
  std::vector<std::string> sixteen = rows;
  sixteen.push_back(rows[2]);
  std::vector<std::string> blankInside = rows;
  blankInside[9] = "";
  std::vector<std::string> textAfterBlank = rows;
  textAfterBlank.push_back("");
  textAfterBlank.push_back("x");

  const std::string good = File(kShapes);
  const std::string missing = (dir_ / "missing.txt").string();
  const struct {
    std::string file;       // a diagram file written for the case, or empty
    std::string arguments;  // after the file, or the whole command line when `file` is empty
    std::string message;    // stderr, after "zel-cli: " and the file's name when there is one
  } cases[] = {
      {diagram(shortLine), "forbidden", ":3: 14 points where 15 were expected"},
      {diagram(longLine), "forbidden", ":7: 16 points where 15 were expected"},
      {diagram(badPoint), "forbidden", ":5: 'z' is not a point (x, o or .)"},
      {diagram(fourteen), "forbidden", ":15: the file ends after 14 rows where 15 were expected"},
      {diagram(sixteen), "forbidden", ":16: text after the 15 rows"},
      {diagram(blankInside), "judge", ":10: 0 points where 15 were expected"},
      {diagram(textAfterBlank), "forbidden", ":17: text after the 15 rows"},
      {"oo.oo.oo.oo.oo.\r" + diagram(std::vector<std::string>(rows.begin() + 1, rows.end())),
       "forbidden", ":1: a CR that does not end the line (lines end with LF or CR LF)"},
      {"", "judge " + good + " 1 8", "point 1 8 holds a stone; only an empty point can be judged"},
      {"", "judge " + good + " 0 0", "point 0 0 holds a stone; only an empty point can be judged"},
      {"", "judge " + missing + " 7 7", missing + ": cannot read: No such file or directory"},
      {"", "forbidden " + missing, missing + ": cannot read: No such file or directory"},
  };
  for (const auto& c : cases) {
    const std::string path = c.file.empty() ? "" : File(c.file);
    const std::string command = c.file.empty()           ? c.arguments
                                : c.arguments == "judge" ? "judge " + path + " 7 7"
                                                         : c.arguments + " " + path;
    SCOPED_TRACE(command);
    const test::CliRun run = RunCli(command);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "zel-cli: " + path + c.message + "\n");
    EXPECT_EQ(run.out, "");
  }
}

TEST(RulesCliHelp, ListsTheCommands) {
  const test::CliRun run = RunCli("--help");
  EXPECT_EQ(run.status, 0);
  for (const char* command : {"forbidden FILE", "judge FILE R C"})
    EXPECT_NE(run.out.find(command), std::string::npos) << command;
}

TEST_F(RulesCli, BadCommandLines) {
  const std::string file = File(kShapes);
  for (const std::string& arguments : std::vector<std::string>{
           "forbidden", "forbidden " + file + " " + file, "judge", "judge " + file,
           "judge " + file + " 7", "judge " + file + " 7 7 7", "judge " + file + " 15 7",
           "judge " + file + " 7 15", "judge " + file + " -1 7", "judge " + file + " 7 -1",
           "judge " + file + " x 7", "judge " + file + " 7 7x", "judge " + file + " 7 ''"}) {
    SCOPED_TRACE(arguments);
    const test::CliRun run = RunCli(arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("zel-cli: usage: zel-cli ", 0), 0U) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace zel
