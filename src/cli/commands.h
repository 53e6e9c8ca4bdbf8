// zel-cli's subcommands. Each takes the arguments after its name and returns the exit status.
#pragma once

#include <span>
#include <string_view>

namespace zel::cli {

using Args = std::span<const std::string_view>;

// Exit status of a command line that cannot be carried out (bad arguments, unreadable file).
inline constexpr int kUsageError = 2;

int RunCodes(Args args);

}  // namespace zel::cli
