// The trace file: the game's moves in the record's line format, an empty line, then optionally
// one line per node of the last search, indented by ply:
//   "%6d %02d " index and depth, (depth - 1) times two spaces, then "%c=%c %2d" for an odd
//   depth or "%c-%c %2d" for an even one: row digit, column digit (as in the record), value.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "files/record.h"
#include "patterns/board.h"

namespace zel {

// One node the search visited: the ply of the move (1 at the root's own moves), its point and
// the value found for it.
struct TraceEntry {
  std::uint8_t depth = 0;
  std::uint8_t row = 0;
  std::uint8_t col = 0;
  std::int8_t value = 0;
  friend constexpr bool operator==(TraceEntry, TraceEntry) = default;
};

// The text of a trace file: the move lines, the empty line, then the entries' lines (entry i of
// the span is numbered i); with shortTrace, entries of depth 6 or more are left out.
std::string FormatTrace(std::span<const Point> moves, std::span<const TraceEntry> entries,
                        bool shortTrace);

// The moves of a trace file's text, read exactly as a record's (see ParseRecord). The node
// listing after the moves is not read: stopping at its first line is the normal end.
RecordLoad ParseTrace(std::string_view text);

// Writes a trace file atomically, as SaveRecord writes a record. An empty error on success.
std::error_code SaveTrace(const std::filesystem::path& path, std::span<const Point> moves,
                          std::span<const TraceEntry> entries, bool shortTrace);

// Reads a trace file's moves, refusing what is not a regular file or is larger than
// kTraceSizeLimit, as LoadRecord does for records.
RecordLoad LoadTrace(const std::filesystem::path& path);

// A million entries of at most 48 bytes each, with room to spare.
inline constexpr long kTraceSizeLimit = 64L << 20;

}  // namespace zel
