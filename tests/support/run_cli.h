// Runs the zel-cli binary and captures what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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

// `arguments` is passed to the shell as written.
inline CliRun RunCli(const std::string& arguments) {
  const auto dir = ScratchDir("cli_output");
  const std::string command = std::string(ZEL_CLI_PATH) + " " + arguments + " >" +
                              (dir / "out").string() + " 2>" + (dir / "err").string();
  CliRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadFile(dir / "out");
  run.err = ReadFile(dir / "err");
  return run;
}

}  // namespace zel::test
