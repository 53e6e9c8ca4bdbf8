// zel-cli answers FILE KIND R C COLOUR: the defender's answers to one threat point.
#include <cstdio>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/replay.h"
#include "threats/answers.h"

namespace zel::cli {
namespace {

using Generator = int (*)(AnswerList&, int, int, int, const Position&);

std::optional<Generator> GeneratorNamed(std::string_view kind) {
  if (kind == "straight4") return AnswersToStraightFour;
  if (kind == "fourthree") return AnswersToFourThree;
  if (kind == "threes") return AnswersToThrees;
  return std::nullopt;
}

}  // namespace

int RunAnswers(Args args) {
  if (args.size() != 5) return Fail("usage: zel-cli answers FILE KIND R C COLOUR");
  const std::optional<Generator> generator = GeneratorNamed(args[1]);
  if (!generator) {
    return Fail("unknown answer kind '" + std::string(args[1]) +
                "' (straight4, fourthree or threes)");
  }
  const std::optional<int> row = ParseInt(args[2]);
  const std::optional<int> col = ParseInt(args[3]);
  if (!row || !col) return Fail("R and C must be numbers");
  if (!OnBoard(*row, *col)) return Fail("the point must lie on the board (0 to 14)");
  const std::optional<int> colour = ParseInt(args[4]);
  if (colour != kBlack && colour != kWhite) return Fail("COLOUR must be 1 (Black) or 2 (White)");

  HeadlessHost host;
  Game game(host);
  if (!ReplayRecord(args[0], game)) return kUsageError;

  AnswerList list;
  list[0] = {*row, *col};
  const int count = (*generator)(list, *row, *col, *colour, game.position());
  for (int i = 0; i < count; ++i) {
    std::printf(i == 0 ? "%d,%d" : " %d,%d", list[i].row, list[i].col);
  }
  std::printf("\n");
  return 0;
}

}  // namespace zel::cli
