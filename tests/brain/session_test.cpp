// pbrain-zel's threads: scripts handed to a Session as the input thread hands them over, with
// waits in between, checked for what is answered and for how soon the session ends after the
// last line (a bound far below the searches' time, not a measurement).
#include "brain/session.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace zel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Long enough that a search that did not hear a stop runs far past the bound.
constexpr auto kLongTurn = "INFO timeout_turn 60000";
constexpr auto kPromptly = std::chrono::seconds(10);

// Hands the lines over ("~N" waits N ms), then ends the input (or has ended it with END); the
// output, and the time from the last line to the session's end.
std::pair<std::string, Clock::duration> Play(const std::vector<std::string>& script) {
  std::ostringstream out;
  Clock::time_point last;
  {
    Session session(out);
    bool running = true;
    for (const std::string& line : script) {
      if (line.starts_with("~")) {
        std::this_thread::sleep_for(milliseconds(std::stoi(line.substr(1))));
        continue;
      }
      last = Clock::now();
      running = session.Submit(line);
      if (!running) break;
    }
    if (running) session.Finish();
  }
  return {out.str(), Clock::now() - last};
}

TEST(Session, CommandsWhileThinking) {
  struct Case {
    const char* name;
    std::vector<std::string> script;
    const char* expected;
  };
  const Case cases[] = {
      // A stop ends the search at once with its move; what comes after waits for the answer.
      {"stop",
       {"START 15", kLongTurn, "BEGIN", "TURN 8,8", "~300", "STOP", "ABOUT"},
       "OK\n7,7\n\\d+,\\d+\nname=\"pbrain-zel\".*\n"},
      // YXSTOP ends YXNBEST's list with the moves found so far, then the first is played.
      {"yxstop",
       {"START 15", kLongTurn, "YXBOARD", "7,7,1", "8,8,2", "DONE", "YXNBEST 3", "~300", "YXSTOP"},
       "OK\nMESSAGE nbest 1 (\\d+,\\d+) [^\n]*\n\\1\n"},
      // A stop also ends the search of a command sent before it that was still waiting.
      {"stop queued",
       {"START 15", kLongTurn, "BEGIN", "TURN 8,8", "BOARD", "7,7,1", "8,8,2", "DONE", "~300",
        "STOP"},
       "OK\n7,7\n\\d+,\\d+\n\\d+,\\d+\n"},
      // A stop with no search to end is spent when reached: the next search takes its time.
      {"stop spent",
       {"START 15", "INFO timeout_turn 600", "YXSTOP", "YXBOARD", "7,7,1", "8,8,2", "DONE",
        "YXNBEST 3"},
       "OK\n(MESSAGE nbest [^\n]*\n){3}\\d+,\\d+\n"},
      // END leaves at once: the search in progress is not answered, nor anything after.
      {"end",
       {"START 15", kLongTurn, "BEGIN", "TURN 8,8", "~300", "END", "ABOUT"},
       "(OK\n(7,7\n)?)?"},
      // At the end of the input the search in progress still answers, within its turn.
      {"end of input",
       {"START 15", "INFO timeout_turn 500", "BEGIN", "TURN 8,8"},
       "OK\n7,7\n\\d+,\\d+\n"},
  };
  for (const Case& c : cases) {
    const auto [out, tail] = Play(c.script);
    EXPECT_TRUE(std::regex_match(out, std::regex(c.expected))) << c.name << ":\n" << out;
    EXPECT_LT(tail, kPromptly) << c.name;
  }
}

// Live lines over a search of 3 s: a first one, then one every 250 ms at most (so 13 at most);
// the best point is told when it is new, and each line's variation starts from it.
TEST(Session, LiveLines) {
  const auto [out, tail] =
      Play({"START 15", kLongTurn, "YXSHOWINFO", "BEGIN", "TURN 8,8", "~3000", "STOP"});
  std::istringstream lines(out);
  std::string line, best;
  int depthLines = 0;
  const std::regex depth(
      R"(MESSAGE depth \d+ score \S+ nodes \d+ speed \d+ time \d+ pv (\d+,\d+).*)");
  for (std::smatch match; std::getline(lines, line);) {
    if (line.starts_with("MESSAGE REALTIME BEST ")) {
      EXPECT_NE(line.substr(22), best) << out;
      best = line.substr(22);
    } else if (std::regex_match(line, match, depth)) {
      EXPECT_EQ(match[1], best) << out;
      ++depthLines;
    }
  }
  EXPECT_GE(depthLines, 1);
  EXPECT_LE(depthLines, 13) << out;
}

// A flood of lines while the engine thinks: the stop after it is heard at once, and every line
// is then handled, in order.
TEST(Session, Flood) {
  constexpr int kLines = 20000;
  std::vector<std::string> script = {"START 15", kLongTurn, "BEGIN", "TURN 8,8", "~200"};
  for (int k = 0; k < kLines; ++k)
    script.push_back("FOO " + std::to_string(k));
  script.push_back("STOP");
  const auto [out, tail] = Play(script);
  EXPECT_LT(tail, kPromptly);
  std::istringstream lines(out);
  std::string line;
  for (const char* head : {"OK", "7,7"}) {
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line, head);
  }
  ASSERT_TRUE(std::getline(lines, line));
  EXPECT_TRUE(std::regex_match(line, std::regex(R"(\d+,\d+)"))) << line;
  for (int k = 0; k < kLines; ++k) {
    ASSERT_TRUE(std::getline(lines, line)) << k;
    ASSERT_EQ(line, "ERROR unknown command: FOO " + std::to_string(k));
  }
  EXPECT_FALSE(std::getline(lines, line)) << line;
}

}  // namespace
}  // namespace zel
