// The position that the rules commands read: a game record or a board diagram.
#pragma once

#include <optional>
#include <string_view>

#include "patterns/board.h"

namespace zel::cli {

// Reads `file` as a board diagram when its first non-blank line, without its spaces, is 15
// characters of x, X, o, O and '.'; otherwise as a game record, replayed into a fresh game.
//
// A diagram is 15 lines of 15 points, row 0 first: x or X a Black stone, o or O a White stone,
// '.' an empty point, with spaces anywhere in a line. Each line may end with LF or CR LF (the
// last may end with nothing), a UTF-8 byte order mark at the start is skipped, and only blank
// lines may follow the 15th. A wrong diagram prints one error line naming its line
// ("FILE:3: 14 points where 15 were expected") and gives nothing.
//
// A record is read as the other commands read it: a file that cannot be read prints one error
// line and gives nothing; a record that stops early keeps its valid moves and warns once.
//
// The board holds 1 for a Black stone, 2 for a White one; any other value is an empty point.
std::optional<Board> ReadPosition(std::string_view file);

}  // namespace zel::cli
