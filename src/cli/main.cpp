// zel-cli: the engine from the command line, for analysis, scripting and debugging.
#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/replay.h"

namespace {

struct Command {
  std::string_view name;
  std::string_view usage;
  std::string_view summary;
  int (*run)(zel::cli::Args);
};

constexpr std::array kCommands{
    Command{"codes", "codes FILE", "board value and both pattern tables of every point",
            zel::cli::RunCodes},
    Command{"threats", "threats FILE", "threat inventory of the whole board", zel::cli::RunThreats},
    Command{"answers", "answers FILE KIND R C COLOUR",
            "answers to a threat point (KIND straight4, fourthree or threes)",
            zel::cli::RunAnswers},
    Command{"choose", "choose FILE [--seed N]",
            "one-ply choice for the side to move (seed default: the clock)", zel::cli::RunChoose},
    Command{"search", "search FILE [--level L] [--seed N]",
            "the computer's reply for the side to move (level 10, seed 1 by default)",
            zel::cli::RunSearch},
    Command{"analyse", "analyse FILE [--time MS | --depth D | --nodes N]",
            "the strong engine's best move, score and line (1 s unless told)",
            zel::cli::RunAnalyse},
    Command{
        "bench", "bench [--strong]",
        "search the built-in positions (--strong: the strong engine); prints the node signature",
        zel::cli::RunBench},
    Command{"selfplay", "selfplay N [--seed S] [--level L]",
            "N games of the computer against itself, checking the game after every move",
            zel::cli::RunSelfPlay},
    Command{"selfplay", "selfplay N --opening RULE [--seed S] [--time MS | --nodes N]",
            "the same under an opening rule (rif, soosorv8, taraguchi10), a line a step",
            zel::cli::RunSelfPlay},
    Command{"forbidden", "forbidden FILE",
            "Black's forbidden points under the Renju rules: \"r c kind\" each",
            zel::cli::RunForbidden},
    Command{"judge", "judge FILE R C", "the rules' verdict on Black playing at (R, C)",
            zel::cli::RunJudge},
};

void PrintHelp() {
  std::printf(
      "usage: zel-cli COMMAND [ARGS]\n"
      "Every command replays the game record FILE (the move.txt format) into a fresh game.\n"
      "forbidden and judge also read FILE as a board diagram: 15 lines of 15 points, row 0\n"
      "first, x a Black stone, o a White one, . an empty point (spaces between them allowed).\n\n"
      "commands:\n");
  for (const Command& command : kCommands) {
    std::printf("  %-40.*s %.*s\n", static_cast<int>(command.usage.size()), command.usage.data(),
                static_cast<int>(command.summary.size()), command.summary.data());
  }
  std::printf("  %-40s %s\n", "--help", "show this help");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) return zel::cli::Fail("no command (try zel-cli --help)");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintHelp();
    return 0;
  }
  for (const Command& command : kCommands) {
    if (args[0] == command.name) return command.run(zel::cli::Args(args).subspan(1));
  }
  return zel::cli::Fail("unknown command '" + std::string(args[0]) + "' (try zel-cli --help)");
}
