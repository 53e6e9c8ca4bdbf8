// zel-cli's subcommands. Each takes the arguments after its name and returns the exit status.
#pragma once

#include <span>
#include <string_view>

namespace zel::cli {

using Args = std::span<const std::string_view>;

// Exit status of a command line that cannot be carried out (bad arguments, unreadable file).
inline constexpr int kUsageError = 2;

int RunCodes(Args args);      // codes FILE
int RunThreats(Args args);    // threats FILE
int RunAnswers(Args args);    // answers FILE KIND R C COLOUR
int RunChoose(Args args);     // choose FILE --seed N
int RunSearch(Args args);     // search FILE [--level L] [--seed N]
int RunBench(Args args);      // bench
int RunSelfPlay(Args args);   // selfplay N [--seed S] [--level L | --opening RULE ...]
int RunForbidden(Args args);  // forbidden FILE
int RunJudge(Args args);      // judge FILE R C
int RunAnalyse(Args args);    // analyse FILE [--time MS | --depth D | --nodes N]

}  // namespace zel::cli
