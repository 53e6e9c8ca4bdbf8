// The game record: one text line per move, "%3d  %c %c  %c %c", then an empty line.
// The first two fields give the point as hexadecimal digits (0-based row, column), the last two
// repeat it as board labels (1-based row as a hexadecimal-like digit, column as a letter).
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "patterns/board.h"

namespace zel {

inline constexpr std::string_view kRecordFileName = "move.txt";

// Why loading stopped.
enum class RecordStop {
  kEnd,           // end of the moves: end of file, or a line that is not the next move
  kCannotOpen,    // the file could not be read
  kBadDigit,      // a row or column digit outside '0'..'9', 'A'..'E'
  kTruncated,     // a move line that breaks off before its four characters
  kTooManyMoves,  // a 226th move
  kOccupied,      // a move onto a point that an earlier move holds
};

struct RecordLoad {
  std::vector<Point> moves;  // the valid moves before the stop, in order
  RecordStop stop = RecordStop::kEnd;
  int line = 0;  // 1-based line of the file where an error stopped loading
};

// The move line of move `number` (1 to 999) at p, with its line end.
std::string FormatMoveLine(int number, Point p);

// The whole record text of these moves: their lines, then the closing empty line.
std::string FormatRecord(std::span<const Point> moves);

// Reads moves 1, 2, ... from record text. Stops at the first line that is not the next move,
// and before a line that would break the game (see RecordStop).
RecordLoad ParseRecord(std::string_view text);

// Writes the record file, replacing earlier content. False when the file cannot be written.
bool SaveRecord(const std::filesystem::path& path, std::span<const Point> moves);

// Reads a record file; RecordStop::kCannotOpen with no moves when it cannot be read.
RecordLoad LoadRecord(const std::filesystem::path& path);

// A one-line description of why loading stopped, for messages.
std::string_view DescribeStop(RecordStop stop);

}  // namespace zel
