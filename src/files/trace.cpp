#include "files/trace.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <optional>

#include "files/text_file.h"

namespace zel {
namespace {

// A short trace leaves out the nodes this deep and deeper.
constexpr int kShortTraceDepth = 6;

// The longest entry line: a 20-digit index, a 3-digit depth, 254 indentations of two spaces, a
// 4-character value, the point and the separators.
constexpr size_t kLongestEntryLine = 20 + 1 + 3 + 1 + 2 * 254 + 4 + 4 + 1;

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

// Writes `value` at `out` right-aligned in `width` columns, padded with `pad` on the left, as
// printf's "%6d" (' ') and "%02d" ('0', for values without a sign) do: a wider value takes the
// room it needs. Returns the end of what it wrote.
template <typename Int>
char* PutNumber(char* out, Int value, std::ptrdiff_t width, char pad) {
  std::array<char, 24> digits;
  const char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  for (std::ptrdiff_t n = end - digits.data(); n < width; ++n)
    *out++ = pad;
  return std::copy(static_cast<const char*>(digits.data()), end, out);
}

// The spaces that indent an entry of this depth: two per ply below the root's moves.
size_t Indentation(int depth) {
  return depth > 1 ? 2 * static_cast<size_t>(depth - 1) : 0;
}

// Writes the line of entry `index` at `out`, which has room for kLongestEntryLine characters, and
// returns its end. printf would take "%6d %02d ", the indentation, then "%c=%c %2d\n" for an odd
// depth or "%c-%c %2d\n" for an even one; this writes the same bytes several times faster.
char* PutEntryLine(char* out, size_t index, TraceEntry entry) {
  out = PutNumber(out, index, 6, ' ');
  *out++ = ' ';
  out = PutNumber(out, static_cast<int>(entry.depth), 2, '0');
  *out++ = ' ';
  out = std::fill_n(out, Indentation(entry.depth), ' ');
  *out++ = RecordDigit(entry.row);
  *out++ = entry.depth % 2 == 1 ? '=' : '-';
  *out++ = RecordDigit(entry.col);
  *out++ = ' ';
  out = PutNumber(out, static_cast<int>(entry.value), 2, ' ');
  *out++ = '\n';
  return out;
}

// Whether a line starts as a node listing line does: the index in at least six columns, one
// space, the depth in at least two digits, one space. A move line's number takes three columns
// and two spaces follow it, so no move line the game writes looks like this.
bool IsNodeListingLine(std::string_view line) {
  const auto digitsFrom = [line](size_t from) {
    size_t end = from;
    while (end < line.size() && IsDigit(line[end]))
      ++end;
    return end;
  };
  const size_t indexStart = std::min(line.find_first_not_of(' '), line.size());
  const size_t indexEnd = digitsFrom(indexStart);
  if (indexEnd == indexStart || indexEnd < 6 || indexEnd == line.size() || line[indexEnd] != ' ')
    return false;
  const size_t depthEnd = digitsFrom(indexEnd + 1);
  return depthEnd - indexEnd > 2 && depthEnd < line.size() && line[depthEnd] == ' ';
}

}  // namespace

std::string FormatTrace(std::span<const Point> moves, std::span<const TraceEntry> entries,
                        bool shortTrace) {
  const auto listed = [shortTrace](TraceEntry entry) {
    return !shortTrace || entry.depth < kShortTraceDepth;
  };
  std::string text = FormatRecord(moves);
  // Room for every line at its usual width, so that the text grows once.
  size_t size = text.size();
  for (const TraceEntry entry : entries) {
    if (listed(entry)) size += 17 + Indentation(entry.depth);
  }
  text.reserve(size);

  std::array<char, kLongestEntryLine> line;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (listed(entries[i])) text.append(line.data(), PutEntryLine(line.data(), i, entries[i]));
  }
  return text;
}

RecordLoad ParseTrace(std::string_view text) {
  return ParseMovesBefore(text, IsNodeListingLine);
}

std::error_code SaveTrace(const std::filesystem::path& path, std::span<const Point> moves,
                          std::span<const TraceEntry> entries, bool shortTrace) {
  return WriteFileAtomically(path, FormatTrace(moves, entries, shortTrace));
}

RecordLoad LoadTrace(const std::filesystem::path& path) {
  std::string text;
  if (std::optional<RecordLoad> refused = ReadTextFile(path, kTraceSizeLimit, text)) {
    return *std::move(refused);
  }
  return ParseTrace(text);
}

}  // namespace zel
