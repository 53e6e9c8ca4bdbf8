#include "files/move_text.h"

#include <cctype>

namespace zel {
namespace {

constexpr std::string_view kPsqHeader = "Piskvorky ";

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

// One "x,y" line, or "x,y,n" with a third field that is ignored; 1-based for a .psq file's.
std::optional<Point> ParseXYLine(std::string_view line, int base) {
  size_t i = 0;
  const std::optional<int> x = ReadNumber(line, i);
  if (!x || i >= line.size() || line[i++] != ',') return std::nullopt;
  const std::optional<int> y = ReadNumber(line, i);
  if (!y || (i < line.size() && line[i] != ',')) return std::nullopt;
  return Point{*y - base, *x - base};
}

// The lines of a text without their blanks, the empty ones left out.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (const char c : text) {
    if (c == '\n' && !lines.back().empty()) lines.emplace_back();
    if (!IsBlank(c)) lines.back() += c;
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

// The moves, or what is wrong with the first that cannot follow the ones before it, named by
// `words[k]` (how move k was written).
MovesText Checked(std::vector<Point> moves, const std::vector<std::string>& words) {
  for (size_t k = 0; k < moves.size(); ++k) {
    const std::string move = "move " + std::to_string(k + 1) + " (" + words[k] + ")";
    if (!OnBoard(moves[k])) return {{}, move + " is off the board"};
    for (size_t j = 0; j < k; ++j) {
      if (moves[j] == moves[k]) return {{}, move + " is on a stone"};
    }
  }
  return {std::move(moves), std::nullopt};
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
  std::vector<Point> moves;
  std::vector<std::string> words;  // each move as written
  if (text.find(',') != std::string_view::npos) {
    for (const std::string& line : Lines(text)) {
      const std::optional<Point> p = ParseXYLine(line, 0);
      if (!p) return {{}, "\"" + line + "\" is not an x,y line"};
      moves.push_back(*p);
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
      if (letter < 'a' || letter > 'z' || !number) {
        // The whole word the reader stopped in, for the reason given.
        while (i < text.size() && !IsBlank(text[i]))
          ++i;
        return {{}, "\"" + std::string(text.substr(start, i - start)) + "\" is not a move"};
      }
      moves.push_back({kBoardSize - *number, letter - 'a'});
      words.emplace_back(text.substr(start, i - start));
    }
  }
  if (moves.empty()) return {{}, "there are no moves"};
  return Checked(std::move(moves), words);
}

std::string FormatPsq(std::span<const Point> moves) {
  std::string text = std::string(kPsqHeader) + "15x15, 11:11, 0\n";
  for (const Point p : moves)
    text += std::to_string(p.col + 1) + "," + std::to_string(p.row + 1) + ",0\n";
  return text;
}

MovesText ParsePsq(std::string_view text) {
  const std::vector<std::string> lines = Lines(text);
  if (lines.empty() || !lines[0].starts_with("Piskvorky")) {
    return {{}, "it is not a Piskvork record (no \"Piskvorky\" line at its start)"};
  }
  const std::string size = lines[0].substr(9, lines[0].find(',') - 9);
  if (size != "15x15") return {{}, "its board is " + size + ", not 15x15"};
  std::vector<Point> moves;
  std::vector<std::string> words;
  for (size_t k = 1; k < lines.size(); ++k) {
    const std::optional<Point> p = ParseXYLine(lines[k], 1);
    if (!p) break;  // the players' lines after the moves
    moves.push_back(*p);
    words.push_back(lines[k]);
  }
  return Checked(std::move(moves), words);
}

}  // namespace zel
