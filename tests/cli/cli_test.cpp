// zel-cli's commands, run as data/transcript.txt writes them down: what each prints, exactly, and
// its exit status. What the commands compute is tested in the layers below.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/positions.h"
#include "support/run_cli.h"

namespace zel {
namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

struct Case {
  std::string command;
  std::string printed;  // a regular expression
};

TEST(Cli, Transcript) {
  const std::string data = std::string(ZEL_CLI_DATA_DIR) + "/";
  const auto dir = test::ScratchDir("cli_" + std::to_string(getpid()));
  std::string file;
  std::vector<Case> runs;
  std::istringstream transcript(test::ReadFile(data + "transcript.txt"));
  for (std::string line; std::getline(transcript, line);) {
    line = Replace(Replace(line, "{record}", file), "D/", data);
    if (line.empty() || line.starts_with("#")) continue;
    if (line.starts_with("moves:")) {
      file = (dir / std::to_string(runs.size())).string();
      test::WriteFile(file, FormatRecord(test::Points(line.substr(6))));
    } else if (line.starts_with("$")) {
      runs.push_back({line.substr(std::min<size_t>(line.size(), 2)), ""});
    } else {
      ASSERT_FALSE(runs.empty()) << line;
      runs.back().printed +=
          line.starts_with("~")
              ? line.substr(1) + "\n"
              : std::regex_replace(line, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") + "\n";
    }
  }
  ASSERT_GT(runs.size(), 50U);
  for (const Case& run : runs) {
    SCOPED_TRACE(run.command);
    const test::CliRun result = test::RunCli(run.command, 60);
    EXPECT_TRUE(std::regex_match(result.out + result.err, std::regex(run.printed)))
        << result.out << result.err;
    const bool refused = !result.err.empty() && !result.err.starts_with("zel-cli: warning: ");
    EXPECT_EQ(result.status, refused ? 2 : 0);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zel
