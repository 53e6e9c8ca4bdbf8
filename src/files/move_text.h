// A game as text from other programs: one line as players exchange it, moves in board notation
// ("h8 i9 j10", columns a to o from the left, rows 1 to 15 from the bottom), or the Gomocup
// protocol's lines of "x,y" (0-based column, then row from the top); and Piskvork's record files
// (.psq): a "Piskvorky 15x15, 11:11, 0" line, then one "x,y,milliseconds" line a move, 1-based
// from the top left, then lines of another kind (the players' names) that end the moves.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "patterns/board.h"

namespace zel {

// The moves in board notation, separated by spaces.
std::string FormatMoves(std::span<const Point> moves);

// The moves a text holds, or why it holds no game.
struct MovesText {
  std::vector<Point> moves;
  std::optional<std::string> error;
};

// Reads moves in board notation, with or without spaces between them, or "x,y" lines (a third
// field, as in the protocol's BOARD lines, is ignored). Refuses an empty text, a word that is no
// point on the board and a point played twice, naming the move.
MovesText ParseMoves(std::string_view text);

// A .psq file of these moves.
std::string FormatPsq(std::span<const Point> moves);

// Reads a .psq file's moves. Refuses a text without the header, a board other than 15 x 15, and a
// move off the board or onto a stone, naming the line.
MovesText ParsePsq(std::string_view text);

}  // namespace zel
