// zel-cli judge FILE R C: the rules' verdict on Black playing at (R, C): five, legal, or the
// kind of forbidden shape.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/position_file.h"
#include "cli/replay.h"
#include "rules/renju_rules.h"

namespace zel::cli {

int RunJudge(Args args) {
  const std::string kUsage =
      "usage: zel-cli judge FILE R C (row and column, 0 to " + std::to_string(kBoardSize - 1) + ")";
  if (args.size() != 3) return Fail(kUsage);
  const std::optional<int> row = ParseInt(args[1]);
  const std::optional<int> col = ParseInt(args[2]);
  if (!row || !col || !OnBoard(*row, *col)) return Fail(kUsage);
  const std::optional<Board> board = ReadPosition(args[0]);
  if (!board) return kUsageError;

  const Point p{*row, *col};
  if ((*board)[p.row][p.col] == kBlack || (*board)[p.row][p.col] == kWhite) {
    return Fail("point " + std::to_string(p.row) + " " + std::to_string(p.col) +
                " holds a stone; only an empty point can be judged");
  }
  const std::string_view verdict = VerdictName(JudgeBlackMove(*board, p));
  std::printf("%.*s\n", static_cast<int>(verdict.size()), verdict.data());
  return 0;
}

}  // namespace zel::cli
