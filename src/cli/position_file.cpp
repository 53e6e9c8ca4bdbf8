#include "cli/position_file.h"

#include <filesystem>
#include <iostream>
#include <string>

#include "cli/replay.h"
#include "files/record.h"
#include "files/text_file.h"
#include "game/game.h"
#include "game/host.h"

namespace zel::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Where a diagram is wrong: the 1-based line and the reason.
struct DiagramError {
  int line = 0;
  std::string reason;
};

// The board value a diagram character stands for, or nothing when it is not a point.
std::optional<int> PointValue(char c) {
  switch (c) {
    case 'x':
    case 'X':
      return kBlack;
    case 'o':
    case 'O':
      return kWhite;
    case '.':
      return kEmpty;
    default:
      return std::nullopt;
  }
}

// Why a character that is not a point or a space cannot stand in a diagram line.
std::string NotAPoint(char c) {
  if (c == '\r') return "a CR that does not end the line (lines end with LF or CR LF)";
  if (c > ' ' && c < 0x7f) return std::string("'") + c + "' is not a point (x, o or .)";
  constexpr char kHex[] = "0123456789abcdef";
  const auto byte = static_cast<unsigned char>(c);
  return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 0xf] +
         " is not a point (x, o or .)";
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(' ') == std::string_view::npos;
}

// Takes the next line off `text`, without its line end (LF, or CR LF).
std::string_view TakeLine(std::string_view& text) {
  const size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

// The first non-blank line, ended by LF or CR as a record's lines are, holds exactly a board
// row's points.
bool LooksLikeDiagram(std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (IsBlank(line)) continue;
    int points = 0;
    for (const char c : line) {
      if (c == ' ') continue;
      if (!PointValue(c)) return false;
      ++points;
    }
    return points == kBoardSize;
  }
  return false;
}

std::optional<DiagramError> ParseDiagram(std::string_view text, Board& board) {
  int line = 0;
  for (int row = 0; row < kBoardSize; ++row) {
    ++line;
    if (text.empty()) {
      return DiagramError{line, "the file ends after " + std::to_string(row) +
                                    (row == 1 ? " row" : " rows") + " where " +
                                    std::to_string(kBoardSize) + " were expected"};
    }
    int points = 0;
    for (const char c : TakeLine(text)) {
      if (c == ' ') continue;
      const std::optional<int> value = PointValue(c);
      if (!value) return DiagramError{line, NotAPoint(c)};
      if (points < kBoardSize) board[row][points] = static_cast<BoardValue>(*value);
      ++points;
    }
    if (points != kBoardSize) {
      return DiagramError{line, std::to_string(points) + " points where " +
                                    std::to_string(kBoardSize) + " were expected"};
    }
  }
  while (!text.empty()) {
    ++line;
    if (!IsBlank(TakeLine(text))) {
      return DiagramError{line, "text after the " + std::to_string(kBoardSize) + " rows"};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<Board> ReadPosition(std::string_view file) {
  // The file is read once, and the reading decides between the two kinds; a record is then
  // parsed exactly as LoadRecord parses it.
  const std::string name(file);
  std::string text;
  if (const std::optional<RecordLoad> refused =
          ReadTextFile(std::filesystem::path(name), kRecordSizeLimit, text)) {
    Fail(name + ": " + DescribeLoad(*refused));
    return std::nullopt;
  }

  std::string_view content = text;
  if (content.starts_with(kByteOrderMark)) content.remove_prefix(kByteOrderMark.size());
  if (LooksLikeDiagram(content)) {
    Board board{};
    if (const std::optional<DiagramError> error = ParseDiagram(content, board)) {
      Fail(name + ":" + std::to_string(error->line) + ": " + error->reason);
      return std::nullopt;
    }
    return board;
  }

  const RecordLoad load = ParseRecord(text);
  if (load.stop != RecordStop::kEnd) {
    std::cerr << "zel-cli: warning: " << name << ": " << DescribeLoad(load) << '\n';
  }
  HeadlessHost host;
  Game game(host);
  game.LoadMoves(load.moves);
  return game.position().board;
}

}  // namespace zel::cli
