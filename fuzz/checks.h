// What the fuzz targets expect of a reader's result. A check that fails prints what it found on
// stderr and traps, so that libFuzzer keeps the input as a crash.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/record.h"
#include "patterns/board.h"

namespace zel::fuzz {

// Prints "fuzz check failed: <what>" on stderr and traps.
[[noreturn]] void Fail(const std::string& what);

// The lines of `text` as the readers split it: LF, CR LF and a lone CR each end a line.
std::vector<std::string_view> SplitLines(std::string_view text);

// "(row, col)", for messages.
std::string Show(Point p);

// A load read from `text`: at most 225 moves, each on the board and on a point of its own; a
// stop that agrees with the moves and names a line of the text; at most a few dozen bytes of
// what it found; and a description of one line of printable ASCII.
void CheckLoad(const RecordLoad& load, std::string_view text);

// A fresh game loads all of `moves` and its state is sound (Game::BrokenInvariant); taking every
// stone back empties the board, and replaying the move list then restores the same position.
void CheckGame(std::span<const Point> moves);

// What a reader made of the text written for `moves`: the same moves, ending normally (no
// moves at all reads as kNoMoves, any other as kEnd). `what` names the writer, for messages.
void CheckReadBack(const RecordLoad& reread, std::span<const Point> moves, std::string_view what);

}  // namespace zel::fuzz
