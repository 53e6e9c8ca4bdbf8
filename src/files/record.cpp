#include "files/record.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace zel {
namespace {

// '0'..'9' for 0 to 9, 'A'.. for 10 and up.
char HexDigit(int value) {
  return static_cast<char>(value < 10 ? '0' + value : value + 55);
}

// The board's "Goo" row label of a 0-based row: '1'..'9', then 'A'..'F'.
char RowLabel(int row) {
  return static_cast<char>(row < 9 ? '1' + row : 'A' + row - 9);
}

// The inverse of HexDigit for the digits a record may hold; -1 for any other character.
int DecodeDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'E') return ch - 55;
  return -1;
}

bool IsSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f';
}

// A cursor over one line, skipping white space the way the record reader always has.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  void SkipSpace() {
    while (pos_ < line_.size() && IsSpace(line_[pos_]))
      ++pos_;
  }
  bool AtEnd() {
    SkipSpace();
    return pos_ == line_.size();
  }
  // An optionally signed decimal integer.
  bool ReadInt(long& value) {
    SkipSpace();
    size_t p = pos_;
    bool negative = false;
    if (p < line_.size() && (line_[p] == '+' || line_[p] == '-')) negative = line_[p++] == '-';
    const size_t digits = p;
    long result = 0;
    while (p < line_.size() && line_[p] >= '0' && line_[p] <= '9') {
      if (result < 1'000'000) result = result * 10 + (line_[p] - '0');
      ++p;
    }
    if (p == digits) return false;
    pos_ = p;
    value = negative ? -result : result;
    return true;
  }
  // The next character that is not white space.
  bool ReadChar(char& ch) {
    if (AtEnd()) return false;
    ch = line_[pos_++];
    return true;
  }

 private:
  std::string_view line_;
  size_t pos_ = 0;
};

}  // namespace

std::string FormatMoveLine(int number, Point p) {
  std::array<char, 32> buffer;
  std::snprintf(buffer.data(), buffer.size(), "%3d  %c %c  %c %c\n", number, HexDigit(p.row),
                HexDigit(p.col), RowLabel(p.row), static_cast<char>('a' + p.col));
  return buffer.data();
}

std::string FormatRecord(std::span<const Point> moves) {
  std::string text;
  for (size_t k = 0; k < moves.size(); ++k) {
    text += FormatMoveLine(static_cast<int>(k + 1), moves[k]);
  }
  text += '\n';
  return text;
}

RecordLoad ParseRecord(std::string_view text) {
  RecordLoad load;
  std::array<std::array<bool, kBoardSize>, kBoardSize> taken{};
  int lineNumber = 0;
  auto stopAt = [&](RecordStop stop) {
    load.stop = stop;
    load.line = lineNumber;
    return load;
  };

  while (!text.empty()) {
    const size_t end = text.find('\n');
    LineReader line(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++lineNumber;
    if (line.AtEnd()) continue;  // blank lines are white space between moves

    long number = 0;
    if (!line.ReadInt(number) || number != static_cast<long>(load.moves.size()) + 1) break;
    std::array<char, 4> fields{};
    for (char& field : fields) {
      if (!line.ReadChar(field)) return stopAt(RecordStop::kTruncated);
    }
    const Point p{DecodeDigit(fields[0]), DecodeDigit(fields[1])};
    if (!OnBoard(p)) return stopAt(RecordStop::kBadDigit);
    if (load.moves.size() == static_cast<size_t>(kBoardSize * kBoardSize)) {
      return stopAt(RecordStop::kTooManyMoves);
    }
    if (taken[p.row][p.col]) return stopAt(RecordStop::kOccupied);
    taken[p.row][p.col] = true;
    load.moves.push_back(p);
    if (!line.AtEnd()) break;  // anything after the four fields is not a move line
  }
  return load;
}

bool SaveRecord(const std::filesystem::path& path, std::span<const Point> moves) {
  std::ofstream out(path, std::ios::out | std::ios::trunc);
  if (!out) return false;
  out << FormatRecord(moves);
  out.close();
  return static_cast<bool>(out);
}

RecordLoad LoadRecord(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return {.moves = {}, .stop = RecordStop::kCannotOpen, .line = 0};
  }
  std::ifstream in(path, std::ios::in | std::ios::binary);
  if (!in) return {.moves = {}, .stop = RecordStop::kCannotOpen, .line = 0};
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return {.moves = {}, .stop = RecordStop::kCannotOpen, .line = 0};
  return ParseRecord(text.str());
}

std::string_view DescribeStop(RecordStop stop) {
  switch (stop) {
    case RecordStop::kEnd:
      return "end of the moves";
    case RecordStop::kCannotOpen:
      return "the file cannot be read";
    case RecordStop::kBadDigit:
      return "a row or column outside the board";
    case RecordStop::kTruncated:
      return "a move line that breaks off";
    case RecordStop::kTooManyMoves:
      return "more moves than the board has points";
    case RecordStop::kOccupied:
      return "a move onto an occupied point";
  }
  return "unknown";
}

}  // namespace zel
