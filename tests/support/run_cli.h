// Runs the zel-cli binary and captures what it printed.
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
  std::string out;
  std::string err;
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A scratch directory of its own for each test.
inline std::filesystem::path ScratchDir(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / ("zel_test_" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// Runs a program: `program` and `arguments` are passed to the shell as written (so `program` may
// set its environment: "env DISPLAY= zel"). Each run writes into
// a directory of its own, so tests running side by side never read each other's output. With
// `timeoutSeconds` the run is stopped after that long (status 124), so that a run that blocks
// fails instead of hanging.
inline CliRun RunProgram(const std::string& program, const std::string& arguments,
                         int timeoutSeconds = 0) {
  static int runs = 0;
  const auto dir =
      ScratchDir("cli_output_" + std::to_string(getpid()) + "_" + std::to_string(++runs));
  const std::string timeout =
      timeoutSeconds > 0 ? "timeout " + std::to_string(timeoutSeconds) + " " : "";
  const std::string command = timeout + program + " " + arguments + " >" + (dir / "out").string() +
                              " 2>" + (dir / "err").string();
  CliRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadFile(dir / "out");
  run.err = ReadFile(dir / "err");
  std::filesystem::remove_all(dir);
  return run;
}

#ifdef ZEL_CLI_PATH
// Runs zel-cli.
inline CliRun RunCli(const std::string& arguments, int timeoutSeconds = 0) {
  return RunProgram(ZEL_CLI_PATH, arguments, timeoutSeconds);
}
#endif

// Writes moves as a record file in a scratch directory of its own and returns its path.
inline std::string RecordFile(const std::string& name, const std::vector<Point>& moves) {
  const auto dir = ScratchDir("record_" + std::to_string(getpid()) + "_" + name);
  WriteFile(dir / "move.txt", FormatRecord(moves));
  return (dir / "move.txt").string();
}

}  // namespace zel::test
