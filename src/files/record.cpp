#include "files/record.h"

#include <array>
#include <cstdio>
#include <optional>
#include <system_error>
#include <utility>

#include "files/text_file.h"

namespace zel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The longest text a RecordLoad keeps of what it found.
constexpr size_t kFoundLimit = 24;

// The board's "Goo" row label of a 0-based row: '1'..'9', then 'A'..'F'.
char RowLabel(int row) {
  return static_cast<char>(row < 9 ? '1' + row : 'A' + row - 9);
}

// The inverse of RecordDigit for the digits a record may hold; -1 for any other character.
int DecodeDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'E') return ch - 55;
  return -1;
}

// White space inside a line; the line ends are gone by then.
bool IsSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\v' || ch == '\f';
}

// Splits the next line off `text`: LF, CR LF and a lone CR each end a line.
std::string_view NextLine(std::string_view& text) {
  const size_t end = text.find_first_of("\r\n");
  const std::string_view line = text.substr(0, end);
  if (end == std::string_view::npos) {
    text = {};
    return line;
  }
  const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
  text.remove_prefix(end + (crlf ? 2 : 1));
  return line;
}

// The first kFoundLimit bytes of `text`, with "..." when there are more.
std::string Excerpt(std::string_view text) {
  if (text.size() <= kFoundLimit) return std::string(text);
  return std::string(text.substr(0, kFoundLimit)) + "...";
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
  // An optionally signed decimal integer, as written.
  std::optional<std::string_view> ReadNumber() {
    SkipSpace();
    size_t p = pos_;
    if (p < line_.size() && (line_[p] == '+' || line_[p] == '-')) ++p;
    const size_t digits = p;
    while (p < line_.size() && line_[p] >= '0' && line_[p] <= '9')
      ++p;
    if (p == digits) return std::nullopt;
    const std::string_view number = line_.substr(pos_, p - pos_);
    pos_ = p;
    return number;
  }
  // The next character that is not white space.
  bool ReadChar(char& ch) {
    if (AtEnd()) return false;
    ch = line_[pos_++];
    return true;
  }
  // The rest of the line without its surrounding white space.
  std::string_view Rest() {
    SkipSpace();
    std::string_view rest = line_.substr(pos_);
    while (!rest.empty() && IsSpace(rest.back()))
      rest.remove_suffix(1);
    return rest;
  }

 private:
  std::string_view line_;
  size_t pos_ = 0;
};

// The value of a number ReadNumber found, held at +-1000000 beyond that: no move number is
// near, and a huge number must not overflow.
long NumberValue(std::string_view number) {
  const bool negative = number.front() == '-';
  if (number.front() == '+' || negative) number.remove_prefix(1);
  long value = 0;
  for (const char ch : number) {
    if (value < 1'000'000) value = value * 10 + (ch - '0');
  }
  return negative ? -value : value;
}

// `text` with every byte outside printable ASCII written \xNN, in double quotes.
std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (const char ch : text) {
    if (ch >= ' ' && ch <= '~') {
      quoted += ch;
    } else {
      std::array<char, 8> escape;
      std::snprintf(escape.data(), escape.size(), "\\x%02X", static_cast<unsigned char>(ch));
      quoted += escape.data();
    }
  }
  return quoted + "\"";
}

std::string CountMoves(size_t count) {
  return std::to_string(count) + (count == 1 ? " move" : " moves");
}

}  // namespace

char RecordDigit(int value) {
  if (value < 0 || value > 35) return '?';
  return static_cast<char>(value < 10 ? '0' + value : 'A' + (value - 10));
}

std::string FormatMoveLine(int number, Point p) {
  std::array<char, 32> buffer;
  std::snprintf(buffer.data(), buffer.size(), "%3d  %c %c  %c %c\n", number, RecordDigit(p.row),
                RecordDigit(p.col), RowLabel(p.row), static_cast<char>('a' + p.col));
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

RecordLoad ParseMovesBefore(std::string_view text, bool (*isOtherLine)(std::string_view line)) {
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  RecordLoad load;
  std::array<std::array<bool, kBoardSize>, kBoardSize> taken{};
  int lineNumber = 0;
  // Other lines may begin at this line: it follows an empty line, and the text may hold them.
  bool otherLinesMayStart = false;
  const auto endNormally = [&] {
    if (load.moves.empty()) load.stop = RecordStop::kNoMoves;
    return std::move(load);
  };
  // A line that stops the reading before its move, where other lines may begin, is the first of
  // them: the moves end normally before it.
  const auto stopAt = [&](RecordStop stop, std::string_view found) {
    if (otherLinesMayStart && stop != RecordStop::kTrailingText) return endNormally();
    load.stop = stop;
    load.line = lineNumber;
    load.found = Excerpt(found);
    return std::move(load);
  };

  while (!text.empty()) {
    const std::string_view raw = NextLine(text);
    LineReader line(raw);
    ++lineNumber;
    if (line.AtEnd()) {  // blank lines are white space between moves
      otherLinesMayStart = isOtherLine != nullptr;
      continue;
    }
    if (otherLinesMayStart && isOtherLine(raw)) return endNormally();

    const std::optional<std::string_view> number = line.ReadNumber();
    if (!number) return stopAt(RecordStop::kNotAMove, line.Rest());
    if (NumberValue(*number) != static_cast<long>(load.moves.size()) + 1) {
      return stopAt(RecordStop::kOutOfSequence, *number);
    }
    std::array<char, 4> fields{};
    for (char& field : fields) {
      if (!line.ReadChar(field)) return stopAt(RecordStop::kTruncated, {});
    }
    const Point p{DecodeDigit(fields[0]), DecodeDigit(fields[1])};
    if (p.row < 0) return stopAt(RecordStop::kBadRow, {&fields[0], 1});
    if (p.col < 0) return stopAt(RecordStop::kBadColumn, {&fields[1], 1});
    if (load.moves.size() == static_cast<size_t>(kBoardSize * kBoardSize)) {
      return stopAt(RecordStop::kTooManyMoves, {});
    }
    if (taken[p.row][p.col]) {
      return stopAt(RecordStop::kOccupied, std::string{fields[0], ' ', fields[1]});
    }
    taken[p.row][p.col] = true;
    load.moves.push_back(p);
    // The classic reader took this move and stopped at the text after it; so does this one.
    if (!line.AtEnd()) return stopAt(RecordStop::kTrailingText, line.Rest());
    otherLinesMayStart = false;
  }
  return endNormally();
}

RecordLoad ParseRecord(std::string_view text) {
  return ParseMovesBefore(text, nullptr);
}

std::error_code SaveRecord(const std::filesystem::path& path, std::span<const Point> moves) {
  return WriteFileAtomically(path, FormatRecord(moves));
}

RecordLoad LoadRecord(const std::filesystem::path& path) {
  std::string text;
  if (std::optional<RecordLoad> refused = ReadTextFile(path, kRecordSizeLimit, text)) {
    return *std::move(refused);
  }
  return ParseRecord(text);
}

std::string DescribeLoad(const RecordLoad& load) {
  const std::string at = "line " + std::to_string(load.line) + ": ";
  const std::string stops = "; loading stops there, after " + CountMoves(load.moves.size());
  switch (load.stop) {
    case RecordStop::kEnd:
      return CountMoves(load.moves.size()) + ", to the end of the record";
    case RecordStop::kNoMoves:
      return "no move line; the game is empty";
    case RecordStop::kNotAMove:
      return at + "not a move line: " + Quote(load.found) + stops;
    case RecordStop::kOutOfSequence:
      // An out-of-sequence line always stands where the move after the loaded ones belongs.
      return at + "move number " + load.found + " where " + std::to_string(load.moves.size() + 1) +
             " was expected" + stops;
    case RecordStop::kBadRow:
      return at + "row digit " + Quote(load.found) + " is not one of 0-9, A-E" + stops;
    case RecordStop::kBadColumn:
      return at + "column digit " + Quote(load.found) + " is not one of 0-9, A-E" + stops;
    case RecordStop::kTruncated:
      return at + "move " + std::to_string(load.moves.size() + 1) +
             " breaks off before its four fields" + stops;
    case RecordStop::kTooManyMoves:
      return at + "a 226th move, more than the board has points" + stops;
    case RecordStop::kOccupied:
      return at + "point " + load.found + " is taken by an earlier move" + stops;
    case RecordStop::kTrailingText:
      return at + "text after the move: " + Quote(load.found) + stops;
    case RecordStop::kCannotRead:
      return "cannot read: " + std::generic_category().message(load.error);
    case RecordStop::kNotRegularFile:
      return "not a regular file but " + load.found;
    case RecordStop::kTooLarge:
      // The reader refusing the file names its limit.
      return "larger than " + load.found + " bytes, more than the game ever writes";
  }
  return "unknown";
}

}  // namespace zel
