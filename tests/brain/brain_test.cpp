#include "brain/brain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "rules/renju_rules.h"
#include "support/run_cli.h"

namespace zel {
namespace {

using namespace std::chrono_literals;

BrainOptions FastOptions(int level = 4, std::uint32_t seed = 1) {
  BrainOptions options;
  options.level = level;
  options.seed = seed;
  return options;
}

// One engine driven line by line; Send returns the lines it answered to one input line.
class Session {
 public:
  explicit Session(BrainOptions options = FastOptions()) : brain_(out_, options) {}

  std::vector<std::string> Send(std::string_view line) {
    out_.str("");
    running_ = brain_.HandleLine(line);
    std::vector<std::string> lines;
    std::istringstream in(out_.str());
    for (std::string answer; std::getline(in, answer);)
      lines.push_back(answer);
    return lines;
  }

  // Sends a line that the engine answers with a move, and checks the move was legal for the side
  // that was to move on the board as it was.
  Point SendForMove(std::string_view line) {
    const std::vector<std::string> answers = Send(line);
    EXPECT_FALSE(answers.empty()) << line;
    if (answers.empty()) return kNoPoint;
    const Point p = ParseMove(answers.back());
    EXPECT_TRUE(OnBoard(p)) << answers.back();
    if (!OnBoard(p)) return kNoPoint;
    // The move is the game's last; the board before it is the board without it.
    const Game& g = brain_.game();
    EXPECT_EQ(g.Move(g.moveCount()), p);
    Board before = g.position().board;
    const int colour = before[p.row][p.col];
    before[p.row][p.col] = kEmpty;
    EXPECT_EQ(colour, g.moveCount() % 2 == 1 ? kBlack : kWhite);
    if (colour == kBlack) {
      EXPECT_FALSE(IsForbidden(JudgeBlackMove(before, p))) << answers.back();
    }
    return p;
  }

  static Point ParseMove(const std::string& line) {
    int x = -1;
    int y = -1;
    char comma = 0;
    std::istringstream in(line);
    if (!(in >> x >> comma >> y) || comma != ',') return kNoPoint;
    return {y, x};
  }

  const Brain& brain() const { return brain_; }
  const Game& game() const { return brain_.game(); }
  bool running() const { return running_; }

 private:
  std::ostringstream out_;
  Brain brain_;
  bool running_ = true;
};

std::string MoveText(Point p) {
  return std::to_string(p.col) + "," + std::to_string(p.row);
}

bool StartsWith(const std::string& text, std::string_view prefix) {
  return text.rfind(prefix, 0) == 0;
}

// --- One command at a time.

TEST(BrainProtocol, StartAcceptsSizeFifteenOnly) {
  struct Case {
    std::string_view line;
    std::string_view answer;  // the answer, or its first word for errors
  };
  const std::vector<Case> cases = {
      {"START 15", "OK"},           {"start 15\r", "OK"},   {"Start 15", "OK"},
      {"START 20", "ERROR"},        {"START 19", "ERROR"},  {"START", "ERROR"},
      {"START x", "ERROR"},         {"START -15", "ERROR"}, {"RECTSTART 15,15", "ERROR"},
      {"RECTSTART 20,10", "ERROR"},
  };
  for (const Case& c : cases) {
    Session session;
    const auto answers = session.Send(c.line);
    ASSERT_EQ(answers.size(), 1u) << c.line;
    EXPECT_TRUE(StartsWith(answers[0], c.answer)) << c.line << " -> " << answers[0];
    if (c.answer == "ERROR") {
      EXPECT_GT(answers[0].size(), 6u) << "no reason given";
    }
  }
}

TEST(BrainProtocol, AboutNamesTheEngine) {
  Session session;
  const auto answers = session.Send("ABOUT");
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_TRUE(StartsWith(answers[0], "name=\"pbrain-zel\", version=\"")) << answers[0];
  EXPECT_NE(answers[0].find("author=\""), std::string::npos);
  EXPECT_NE(answers[0].find("country=\""), std::string::npos);
}

TEST(BrainProtocol, BeginOpensOnTheCentre) {
  Session session;
  ASSERT_EQ(session.Send("START 15"), std::vector<std::string>{"OK"});
  EXPECT_EQ(session.Send("BEGIN"), std::vector<std::string>{"7,7"});
  EXPECT_EQ(session.game().moveCount(), 1);
}

TEST(BrainProtocol, TurnsAnswerLegalMoves) {
  Session session;
  session.Send("START 15");
  const std::vector<Point> theirs = {{7, 7}, {6, 8}, {8, 6}, {5, 9}, {9, 9}, {3, 3}};
  for (const Point p : theirs) {
    if (session.game().position().board[p.row][p.col] > 0) continue;
    const int before = session.game().moveCount();
    session.SendForMove("TURN " + MoveText(p));
    EXPECT_EQ(session.game().moveCount(), before + 2);
    EXPECT_EQ(session.game().Move(before + 1), p);
  }
}

TEST(BrainProtocol, BoardSetsThePositionAndTheColours) {
  struct Case {
    std::vector<std::string> stones;
    int engineColour;
  };
  const std::vector<Case> cases = {
      {{}, kBlack},
      {{"7,7,2"}, kWhite},
      {{"7,7,1", "8,8,2"}, kBlack},
      {{"7,7,2", "8,8,1", "6,6,2"}, kWhite},
      {{"7,7,2", "8,8,1", "6,6,2", "9,9,1", "5,5,2"}, kWhite},
  };
  for (const Case& c : cases) {
    Session session;
    session.Send("START 15");
    EXPECT_TRUE(session.Send("BOARD").empty());
    for (const std::string& stone : c.stones)
      EXPECT_TRUE(session.Send(stone).empty()) << stone;
    const Point p = session.SendForMove("done\r");
    ASSERT_TRUE(OnBoard(p));
    EXPECT_EQ(session.game().position().board[p.row][p.col], c.engineColour);
    EXPECT_EQ(session.game().moveCount(), static_cast<int>(c.stones.size()) + 1);
    // The opponent's stones keep the opponent's colour.
    for (const std::string& stone : c.stones) {
      const Point q = Session::ParseMove(stone.substr(0, stone.rfind(',')));
      const int who = stone.back() - '0';
      EXPECT_EQ(session.game().position().board[q.row][q.col],
                who == 1 ? c.engineColour : 3 - c.engineColour)
          << stone;
    }
  }
}

TEST(BrainProtocol, BoardWithCountsThatCannotAlternateIsRefused) {
  Session session;
  session.Send("START 15");
  session.SendForMove("BEGIN");
  session.Send("BOARD");
  session.Send("1,1,1");
  session.Send("2,2,1");
  const auto answers = session.Send("DONE");
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_TRUE(StartsWith(answers[0], "ERROR"));
  EXPECT_EQ(session.game().moveCount(), 1);
  EXPECT_FALSE(session.brain().readingBoard());
}

TEST(BrainProtocol, TakebackRemovesTheLastMoveOnly) {
  Session session;
  session.Send("START 15");
  session.SendForMove("BEGIN");
  const Point reply = session.SendForMove("TURN 8,8");
  ASSERT_TRUE(OnBoard(reply));
  ASSERT_EQ(session.game().moveCount(), 3);
  // The opponent's stone is not the last one: refused.
  EXPECT_TRUE(StartsWith(session.Send("TAKEBACK 8,8").at(0), "ERROR"));
  EXPECT_EQ(session.game().moveCount(), 3);
  EXPECT_EQ(session.Send("takeback " + MoveText(reply)), std::vector<std::string>{"OK"});
  EXPECT_EQ(session.Send("TAKEBACK 8,8"), std::vector<std::string>{"OK"});
  EXPECT_EQ(session.game().moveCount(), 1);
  EXPECT_EQ(session.game().position().board[8][8], kEmpty);
  EXPECT_TRUE(StartsWith(session.Send("TAKEBACK 8,8").at(0), "ERROR"));
}

TEST(BrainProtocol, RestartStartsANewGame) {
  Session session;
  session.Send("START 15");
  session.SendForMove("BEGIN");
  session.SendForMove("TURN 6,6");
  EXPECT_EQ(session.Send("RESTART"), std::vector<std::string>{"OK"});
  EXPECT_EQ(session.game().moveCount(), 0);
  EXPECT_EQ(session.Send("BEGIN"), std::vector<std::string>{"7,7"});
}

TEST(BrainProtocol, InfoSetsTheTimeLimitsAndIgnoresUnknownKeys) {
  Session session;
  struct Case {
    std::string_view line;
    std::string_view answer;  // first word of the one answer, or empty for none
  };
  const std::vector<Case> cases = {
      {"INFO timeout_turn 200", ""},
      {"info TIMEOUT_MATCH 90000", ""},
      {"INFO time_left 45000\r", ""},
      {"INFO max_memory 83886080", ""},
      {"INFO game_type 1", ""},
      {"INFO folder /tmp/some folder", ""},
      {"INFO rule 4", ""},
      {"INFO evaluate 7,7", ""},
      {"INFO", ""},
      {"INFO rule 1", "MESSAGE"},
      {"INFO timeout_turn abc", "ERROR"},
      {"INFO time_left", "ERROR"},
  };
  for (const Case& c : cases) {
    const auto answers = session.Send(c.line);
    if (c.answer.empty()) {
      EXPECT_TRUE(answers.empty()) << c.line;
    } else {
      ASSERT_EQ(answers.size(), 1u) << c.line;
      EXPECT_TRUE(StartsWith(answers[0], c.answer)) << c.line << " -> " << answers[0];
    }
  }
  EXPECT_EQ(session.brain().limits().turn, 200);
  EXPECT_EQ(session.brain().limits().match, 90000);
  EXPECT_EQ(session.brain().limits().left, 45000);
  // Another rule is announced, and the game is Renju all the same.
  EXPECT_EQ(session.Send("BEGIN"), std::vector<std::string>{"7,7"});
}

TEST(BrainProtocol, EndStopsTheEngine) {
  for (const std::string_view line : {"END", "end\r", "  End  "}) {
    Session session;
    session.Send(line);
    EXPECT_FALSE(session.running()) << line;
  }
}

// Boards as the manager sends them: own stones 1, the opponent's 2. In each, the side to move has
// a five on offer at `five` and the opponent threatens one of their own.
TEST(BrainProtocol, TakesAFiveWhenOnOffer) {
  struct Case {
    std::vector<std::string> stones;
    std::vector<Point> fives;  // either end of the four
  };
  const std::vector<Case> cases = {
      // Black to move (4 stones each): four in row 7, columns 3-6; White four in row 9.
      {{"3,7,1", "4,7,1", "5,7,1", "6,7,1", "3,9,2", "4,9,2", "5,9,2", "6,9,2"}, {{7, 7}, {7, 2}}},
      // White to move (Black 5, White 4): White four down column 10, rows 2-5.
      {{"10,2,1", "10,3,1", "10,4,1", "10,5,1", "1,1,2", "1,3,2", "3,1,2", "13,13,2", "12,12,2"},
       {{6, 10}, {1, 10}}},
  };
  for (const Case& c : cases) {
    for (const int level : {0, 4}) {
      Session session(FastOptions(level));
      session.Send("START 15");
      session.Send("BOARD");
      for (const std::string& stone : c.stones)
        session.Send(stone);
      const Point p = session.SendForMove("DONE");
      EXPECT_NE(std::find(c.fives.begin(), c.fives.end(), p), c.fives.end()) << MoveText(p);
    }
  }
}

// White's answers to a Black threat are not checked against the stones, and here the search
// ends on Black's stone k6 (10,9). The engine plays the best-scored legal point instead, and says
// so. Position: lfz084/lfz084.github.io@b15820dbaf5a puzzle/json 白先VCF #391 after two moves of
// its solution, White to move.
TEST(BrainProtocol, AnIllegalSearchAnswerIsNeverPlayed) {
  const char* black[] = {"5,9", "5,8",   "6,10", "6,9",  "7,11",  "8,10", "8,6",  "9,13",
                         "9,9", "10,11", "10,9", "10,6", "11,11", "11,7", "12,7", "8,8"};
  const char* white[] = {"6,8",  "7,8",   "7,7",  "8,12",  "9,11", "9,10",  "9,7", "9,6",
                         "10,8", "11,10", "11,8", "12,11", "12,6", "13,12", "9,8"};
  Session session(FastOptions(10));
  session.Send("START 15");
  session.Send("BOARD");
  for (size_t k = 0; k < std::size(black); ++k) {
    session.Send(std::string(black[k]) + ",2");
    if (k < std::size(white)) session.Send(std::string(white[k]) + ",1");
  }
  const std::vector<std::string> answers = session.Send("DONE");
  ASSERT_EQ(answers.size(), 2U);
  EXPECT_EQ(answers[0].rfind("DEBUG 10,9 is not legal; playing ", 0), 0U) << answers[0];
  const Point p = Session::ParseMove(answers[1]);
  EXPECT_NE(p, (Point{9, 10}));
  EXPECT_EQ(session.game().position().board[9][10], kBlack);
  EXPECT_EQ(session.game().position().board[p.row][p.col], kWhite);
  EXPECT_EQ(session.game().BrokenInvariant(), std::nullopt);
}

// --- Hostile input.

TEST(BrainHostile, MalformedLinesAnswerAnErrorAndChangeNothing) {
  Session session;
  session.Send("START 15");
  session.SendForMove("BEGIN");
  const std::vector<std::string> lines = {
      "TURN",
      "TURN 7",
      "TURN a,b",
      "TURN 7,",
      "TURN ,7",
      "TURN 7,7",  // onto a stone
      "TURN -1,3",
      "TURN 3,-1",
      "TURN 15,0",
      "TURN 0,15",
      "TURN 99999999999999999999,1",
      "TURN 2147483648,2147483648",
      "TURN 1,2,3",
      "TURN 1.5,2",
      "TAKEBACK",
      "TAKEBACK 3,3",
      "TAKEBACK -7,-7",
      "FOO",
      "DONE",
      std::string("\x01\xff\x7f TURN 3,3", 11),
      std::string("TURN \0 3,3", 10),
      std::string(100000, 'A'),
      "TURN " + std::string(100000, '9') + ",1",
  };
  for (const std::string& line : lines) {
    const auto answers = session.Send(line);
    ASSERT_EQ(answers.size(), 1u) << line.substr(0, 40);
    EXPECT_TRUE(StartsWith(answers[0], "ERROR")) << answers[0];
    EXPECT_LT(answers[0].size(), 200u);
    EXPECT_EQ(session.game().moveCount(), 1) << line.substr(0, 40);
    EXPECT_TRUE(session.running());
  }
  // And the engine keeps playing.
  session.SendForMove("TURN 3,3");
  EXPECT_EQ(session.game().moveCount(), 3);
}

TEST(BrainHostile, BadBoardLinesAreRefusedOneByOne) {
  Session session;
  session.Send("START 15");
  session.Send("BOARD");
  for (const std::string_view line : {"7,7", "7,7,0", "7,7,4", "-1,0,1", "15,15,2", "x", ""}) {
    const auto answers = session.Send(line);
    ASSERT_EQ(answers.size(), 1u) << line;
    EXPECT_TRUE(StartsWith(answers[0], "ERROR")) << line;
  }
  EXPECT_TRUE(session.Send("7,7,2").empty());
  EXPECT_TRUE(StartsWith(session.Send("7,7,1").at(0), "ERROR"));  // a second stone there
  const Point p = session.SendForMove("DONE");
  EXPECT_EQ(session.game().moveCount(), 2);
  EXPECT_EQ(session.game().position().board[p.row][p.col], kWhite);
}

TEST(BrainHostile, EmptyLinesAreIgnored) {
  Session session;
  for (const std::string_view line : {"", "\r", "   ", "\t\r"}) {
    EXPECT_TRUE(session.Send(line).empty());
    EXPECT_TRUE(session.running());
  }
}

TEST(BrainHostile, BoardWithoutDoneEndsCleanly) {
  {
    Session session;
    session.Send("START 15");
    session.Send("BOARD");
    session.Send("7,7,1");
    EXPECT_TRUE(session.brain().readingBoard());
    EXPECT_TRUE(session.Send("END").empty());
    EXPECT_FALSE(session.running());
  }
  // At the end of input the process reads no more lines: nothing is left half done.
  std::istringstream in("START 15\nBOARD\n7,7,1\n8,8,2");
  std::ostringstream out;
  Brain brain(out, FastOptions());
  std::string line;
  while (ReadProtocolLine(in, line))
    ASSERT_TRUE(brain.HandleLine(line));
  EXPECT_EQ(out.str(), "OK\n");
  EXPECT_EQ(brain.game().moveCount(), 0);
}

TEST(BrainHostile, ReadingKeepsAtMostTheLineLimit) {
  const std::string binary("a\0b\xff\x01", 5);
  std::istringstream in(std::string(100000, 'x') + "\r\n" + binary + "\nEND");
  std::string line;
  ASSERT_TRUE(ReadProtocolLine(in, line));
  EXPECT_EQ(line.size(), kMaxLineLength);
  ASSERT_TRUE(ReadProtocolLine(in, line));
  EXPECT_EQ(line, binary);
  ASSERT_TRUE(ReadProtocolLine(in, line));
  EXPECT_EQ(line, "END");
  EXPECT_FALSE(ReadProtocolLine(in, line));
}

// --- Whole games and time.

// Exactly five for Black, five or more for White, through p.
bool MakesFive(const Board& board, Point p) {
  const int colour = board[p.row][p.col];
  for (int d = 0; d < kDirections; ++d) {
    int run = 1;
    for (const int sign : {1, -1}) {
      for (int r = p.row + sign * kRowStep[d], c = p.col + sign * kColStep[d];
           OnBoard(r, c) && board[r][c] == colour;
           r += sign * kRowStep[d], c += sign * kColStep[d]) {
        ++run;
      }
    }
    if (run == 5 || (colour == kWhite && run > 5)) return true;
  }
  return false;
}

// Two engines play a game through the protocol to a five, every move legal on the referee's
// board. (With seed 1 the engines draw on a full board; seeds 2 and 3 end in fives.)
TEST(BrainSelfPlay, GameEndsInAFiveWithEveryMoveLegal) {
  for (const std::uint32_t seed : {2u, 3u}) {
    Session black(FastOptions(6, seed));
    Session white(FastOptions(6, seed + 100));
    black.Send("START 15");
    white.Send("START 15");
    Board board{};
    bool five = false;
    int moves = 0;
    std::string line = "BEGIN";
    while (!five && moves < kMaxMoves) {
      Session& mover = moves % 2 == 0 ? black : white;
      const Point p = mover.SendForMove(line);
      ASSERT_TRUE(OnBoard(p)) << "move " << moves + 1;
      ASSERT_EQ(board[p.row][p.col], kEmpty) << "move " << moves + 1;
      const int colour = moves % 2 == 0 ? kBlack : kWhite;
      if (colour == kBlack) {
        ASSERT_FALSE(IsForbidden(JudgeBlackMove(board, p)));
      }
      board[p.row][p.col] = static_cast<BoardValue>(colour);
      five = MakesFive(board, p);
      ++moves;
      line = "TURN " + MoveText(p);
    }
    EXPECT_TRUE(five) << "seed " << seed;
  }
}

TEST(BrainTime, MovesComeBackWellWithinTheTurnLimit) {
  BrainOptions deepening;
  deepening.seed = 3;
  BrainOptions deepest = deepening;
  deepest.level = kMaxSearchLevel;
  for (const BrainOptions& options : {deepening, deepest}) {
    Session session(options);
    session.Send("START 15");
    session.Send("INFO timeout_turn 200");
    // Seventeen moves of a game in which White's reply takes a search of a second at level 22.
    std::istringstream game(
        "7,7 7,8 9,7 6,7 8,9 8,8 9,8 10,7 9,9 9,6 9,10 9,11 11,9 12,9 11,8 10,9 10,8");
    session.Send("BOARD");
    int k = 0;
    for (std::string move; game >> move; ++k)
      session.Send(move + (k % 2 == 0 ? ",2" : ",1"));
    const auto start = std::chrono::steady_clock::now();
    const Point p = session.SendForMove("DONE");
    EXPECT_TRUE(OnBoard(p));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    // With little match time left, the move comes back sooner than the turn's limit.
    session.Send("INFO timeout_turn 100000");
    session.Send("INFO time_left 300");
    const auto again = std::chrono::steady_clock::now();
    session.SendForMove(session.game().position().board[0][0] > 0 ? "TURN 14,14" : "TURN 0,0");
    EXPECT_LT(std::chrono::steady_clock::now() - again, 2s);
  }
}

TEST(BrainTime, BudgetKeepsAMargin) {
  struct Case {
    TimeLimits limits;
    std::int64_t hard;
    std::int64_t soft;
  };
  const std::vector<Case> cases = {
      {{1000, 0, {}}, 870, 870},
      {{0, 0, {}}, 0, 0},
      {{20, 0, {}}, 0, 0},
      {{1000, 60000, 500}, 420, 7},
      {{10000, 60000, 24000}, 8970, 1770},
      {{5000, 0, 0}, 0, 0},
      {{1'000'000'000'000, 0, {}}, 899'999'970, 899'999'970},
  };
  for (const Case& c : cases) {
    const MoveBudget budget = BudgetFor(c.limits);
    EXPECT_EQ(budget.hard.count(), c.hard) << c.limits.turn;
    EXPECT_EQ(budget.soft.count(), c.soft) << c.limits.turn;
  }
}

TEST(BrainProcess, BinaryAnswersAScriptOnStandardInput) {
  const auto dir = test::ScratchDir("brain_process_" + std::to_string(getpid()));
  test::WriteFile(dir / "in", "START 15\r\nABOUT\nBEGIN\nEND\nBEGIN\n");
  const std::string command = std::string("timeout 60 ") + ZEL_BRAIN_PATH + " --seed 1 <" +
                              (dir / "in").string() + " >" + (dir / "out").string();
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 0);
  const std::string out = test::ReadFile(dir / "out");
  std::istringstream in(out);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u) << out;
  EXPECT_EQ(lines[0], "OK");
  EXPECT_TRUE(StartsWith(lines[1], "name=\"pbrain-zel\""));
  EXPECT_EQ(lines[2], "7,7");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zel
