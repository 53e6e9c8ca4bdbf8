// zel-cli forbidden FILE: the points where the rules forbid Black to play, one "r c kind" line
// each, rows then columns ascending.
#include <cstdio>
#include <optional>

#include "cli/commands.h"
#include "cli/position_file.h"
#include "cli/replay.h"
#include "rules/renju_rules.h"

namespace zel::cli {

int RunForbidden(Args args) {
  if (args.size() != 1) return Fail("usage: zel-cli forbidden FILE");
  const std::optional<Board> board = ReadPosition(args[0]);
  if (!board) return kUsageError;

  const VerdictTable verdicts = JudgeBoard(*board);
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (!IsForbidden(verdicts[r][c])) continue;
      const std::string_view kind = VerdictName(verdicts[r][c]);
      std::printf("%d %d %.*s\n", r, c, static_cast<int>(kind.size()), kind.data());
    }
  }
  return 0;
}

}  // namespace zel::cli
