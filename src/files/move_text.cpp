#include "files/move_text.h"

#include <cctype>

namespace zel {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The number at text[i] (at most three digits), advancing i; nothing when no digit is there.
std::optional<int> ReadNumber(std::string_view text, size_t& i) {
  if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
  int number = 0;
  for (int digits = 0; i < text.size() && IsDigit(text[i]) && digits < 3; ++digits)
    number = number * 10 + (text[i++] - '0');
  return number;
}

// One "x,y" or "x,y,who" line.
std::optional<Point> ParseProtocolLine(std::string_view line) {
  size_t i = 0;
  const std::optional<int> x = ReadNumber(line, i);
  if (!x || i >= line.size() || line[i++] != ',') return std::nullopt;
  const std::optional<int> y = ReadNumber(line, i);
  if (!y || (i < line.size() && line[i] != ',')) return std::nullopt;
  return Point{*y, *x};
}

}  // namespace

std::string FormatMoves(std::span<const Point> moves) {
  std::string text;
  for (const Point p : moves) {
    if (!text.empty()) text += ' ';
    text += static_cast<char>('a' + p.col);
    text += std::to_string(kBoardSize - p.row);
  }
  return text;
}

MovesText ParseMoves(std::string_view text) {
  MovesText result;
  // Each move as written, for the reasons given.
  std::vector<std::string> words;
  if (text.find(',') != std::string_view::npos) {
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      std::string line;
      for (const char c : text.substr(start, end - start)) {
        if (!IsBlank(c)) line += c;
      }
      start = end + 1;
      if (line.empty()) continue;
      const std::optional<Point> p = ParseProtocolLine(line);
      if (!p) return {{}, "\"" + line + "\" is not an x,y line"};
      result.moves.push_back(*p);
      words.push_back(line);
    }
  } else {
    for (size_t i = 0; i < text.size();) {
      if (IsBlank(text[i])) {
        ++i;
        continue;
      }
      const size_t start = i;
      const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
      const std::optional<int> number = ReadNumber(text, i);
      std::string word(text.substr(start, i - start));
      if (letter < 'a' || letter > 'z' || !number) {
        // The whole word the reader stopped in, for the reason given.
        while (i < text.size() && !IsBlank(text[i]))
          ++i;
        return {{}, "\"" + std::string(text.substr(start, i - start)) + "\" is not a move"};
      }
      result.moves.push_back({kBoardSize - *number, letter - 'a'});
      words.push_back(std::move(word));
    }
  }
  if (result.moves.empty()) return {{}, "there are no moves"};
  for (size_t k = 0; k < result.moves.size(); ++k) {
    const std::string move = "move " + std::to_string(k + 1) + " (" + words[k] + ")";
    if (!OnBoard(result.moves[k])) return {{}, move + " is off the board"};
    for (size_t j = 0; j < k; ++j) {
      if (result.moves[j] == result.moves[k]) return {{}, move + " is on a stone"};
    }
  }
  return result;
}

}  // namespace zel
