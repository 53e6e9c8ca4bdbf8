// Scratch files, and runs of the programs with what they printed.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/record.h"

namespace zel::test {

struct CliRun {
  int status = -1;
  std::string out, err;
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A new, empty scratch directory.
inline std::filesystem::path ScratchDir(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / ("zel_test_" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// Runs "program arguments" through the shell, so either may hold redirections or "env ...". A run
// still going after timeoutSeconds is stopped (status 124) rather than hang the test.
inline CliRun RunProgram(const std::string& program, const std::string& arguments,
                         int timeoutSeconds = 0) {
  static int runs = 0;
  const auto dir = ScratchDir("run_" + std::to_string(getpid()) + "_" + std::to_string(++runs));
  const std::string timeout = timeoutSeconds > 0 ? "timeout " + std::to_string(timeoutSeconds) : "";
  const int raw = std::system((timeout + " " + program + " " + arguments + " >" +
                               (dir / "out").string() + " 2>" + (dir / "err").string())
                                  .c_str());
  CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir / "out"), ReadFile(dir / "err")};
  std::filesystem::remove_all(dir);
  return run;
}

#ifdef ZEL_CLI_PATH
inline CliRun RunCli(const std::string& arguments, int timeoutSeconds = 0) {
  return RunProgram(ZEL_CLI_PATH, arguments, timeoutSeconds);
}
#endif

// Writes the moves as a record file of a scratch directory of its own; returns its path.
inline std::string RecordFile(const std::string& name, const std::vector<Point>& moves) {
  const auto dir = ScratchDir("record_" + std::to_string(getpid()) + "_" + name);
  WriteFile(dir / "move.txt", FormatRecord(moves));
  return (dir / "move.txt").string();
}

}  // namespace zel::test
