// The game record: one text line per move, "%3d  %c %c  %c %c", then an empty line.
// The first two fields give the point as hexadecimal digits (0-based row, column), the last two
// repeat it as board labels (1-based row as a hexadecimal-like digit, column as a letter).
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "patterns/board.h"

namespace zel {

inline constexpr std::string_view kRecordFileName = "move.txt";

// No record is larger: a full board takes about 3.2 KB. Larger files are refused unread.
inline constexpr long kRecordSizeLimit = 1L << 20;

// Why loading stopped.
enum class RecordStop {
  // The moves end normally: the end of the text, after blank lines or none.
  kEnd,
  // The text holds no move line: it is empty or blank. No moves.
  kNoMoves,

  // Early stops at a line: the moves before it are kept and the rest is ignored.
  kNotAMove,       // the line does not start with a number
  kOutOfSequence,  // the line's move number is not the next one
  kBadRow,         // a row digit outside '0'..'9', 'A'..'E'
  kBadColumn,      // a column digit outside '0'..'9', 'A'..'E'
  kTruncated,      // a move line that breaks off before its four fields
  kTooManyMoves,   // a 226th move
  kOccupied,       // a move onto a point that an earlier move holds
  kTrailingText,   // text after the four fields; the move on that line is kept

  // The file cannot be read at all. No moves.
  kCannotRead,      // open() or read() failed; see `error`
  kNotRegularFile,  // a directory, pipe, device or socket
  kTooLarge,        // more than the reader's size limit (kRecordSizeLimit for a record)
};

struct RecordLoad {
  std::vector<Point> moves;  // the valid moves before the stop, in order
  RecordStop stop = RecordStop::kEnd;
  int line = 0;  // 1-based line of an early stop; 0 otherwise
  // What the stop found, as written (at most a few dozen bytes): the move number, the digit, the
  // point's two digits, the start of the line, the trailing text, the kind of file, or the size
  // limit that a file exceeds.
  std::string found;
  int error = 0;  // errno of kCannotRead
};

// True for the stops of a file that cannot be read at all.
constexpr bool IsFileError(RecordStop stop) {
  return stop == RecordStop::kCannotRead || stop == RecordStop::kNotRegularFile ||
         stop == RecordStop::kTooLarge;
}

// The digit of a row or column in the record's lines (and the trace's): '0'..'9' for 0 to 9,
// then 'A' for 10 and on to 'Z' for 35. No other value has a digit: it is written '?'.
char RecordDigit(int value);

// The move line of move `number` (1 to 999) at p, with its line end.
std::string FormatMoveLine(int number, Point p);

// The whole record text of these moves: their lines, then the closing empty line.
std::string FormatRecord(std::span<const Point> moves);

// Reads moves 1, 2, ... from record text. A UTF-8 byte order mark at the start is skipped; LF,
// CR LF and a lone CR each end a line. Blank lines are skipped. Stops at the first line that is
// not the next move, and before a line that would break the game (see RecordStop).
RecordLoad ParseRecord(std::string_view text);

// Reads moves as ParseRecord does from text in which, after an empty line, lines of another kind
// may follow the moves (a trace file's node listing). The first line after an empty line that
// `isOtherLine` accepts, or that would stop the reading before its move is taken, begins them:
// the moves end normally there (kEnd, or kNoMoves). ParseRecord is this with no other lines.
RecordLoad ParseMovesBefore(std::string_view text, bool (*isOtherLine)(std::string_view line));

// Writes the record file atomically: a temporary file in the same directory, synced, then
// renamed over `path`. An empty error on success; otherwise the errno of the step that failed
// (creating, writing, syncing or renaming), and `path` is left as it was.
std::error_code SaveRecord(const std::filesystem::path& path, std::span<const Point> moves);

// Reads a record file. Refuses, without reading, anything but a regular file of at most
// kRecordSizeLimit bytes.
RecordLoad LoadRecord(const std::filesystem::path& path);

// One line saying how loading ended, for the user, e.g.
// "line 3: move number 5 where 3 was expected; loading stops there, after 2 moves".
// It does not name the file.
std::string DescribeLoad(const RecordLoad& load);

}  // namespace zel
