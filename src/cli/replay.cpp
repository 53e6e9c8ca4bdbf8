#include "cli/replay.h"

#include <charconv>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "files/record.h"

namespace zel::cli {

bool ReplayRecord(std::string_view file, Game& game) {
  const RecordLoad load = LoadRecord(std::filesystem::path(std::string(file)));
  const std::string message = std::string(file) + ": " + DescribeLoad(load);
  if (IsFileError(load.stop)) {
    Fail(message);
    return false;
  }
  if (load.stop != RecordStop::kEnd) std::cerr << "zel-cli: warning: " << message << '\n';
  game.LoadMoves(load.moves);
  return true;
}

std::optional<std::vector<Point>> ParseMoves(std::string_view text) {
  std::vector<Point> moves;
  while (!text.empty()) {
    const size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    text.remove_prefix(start);
    const std::string_view word = text.substr(0, text.find(' '));
    text.remove_prefix(word.size());
    const std::optional<int> number = word.size() >= 2 ? ParseInt(word.substr(1)) : std::nullopt;
    if (!number) return std::nullopt;
    const Point p{kBoardSize - *number, word[0] - 'a'};
    if (!OnBoard(p)) return std::nullopt;
    moves.push_back(p);
  }
  return moves;
}

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

int Fail(std::string_view message) {
  std::cerr << "zel-cli: " << message << '\n';
  return kUsageError;
}

}  // namespace zel::cli
