// The exact Renju rules for Black's moves: a judge that reads stones only, for what the player is
// told ("Kinjite !"), what the protocol engine may play and what a referee applies.
//
// A five (exactly five in a row) wins whatever else the stone makes. Otherwise the stone is
// forbidden when it makes an overline (six or more in a row), two or more fours (two in one line
// included), or two or more threes, where a three counts only if one of the points that would
// make it a straight four is itself a legal move for Black with the stone in place (judged by the
// same rules, recursively). A line through the stone counts once: as a four if it is one, else
// as a three if it is one.
#pragma once

#include <array>
#include <string_view>

#include "patterns/board.h"

namespace zel {

// GCC takes scoped enumerators for shadows of the line codes of the same names (kFive,
// kOverline); they live in the enum's own scope and shadow nothing.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
#endif
enum class Verdict {
  kLegal,
  kFive,  // wins, whatever else it makes
  kDoubleThree,
  kDoubleFour,
  kOverline,
};
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

constexpr bool IsForbidden(Verdict verdict) {
  return verdict == Verdict::kDoubleThree || verdict == Verdict::kDoubleFour ||
         verdict == Verdict::kOverline;
}

// "legal", "five", "double-three", "double-four", "overline".
std::string_view VerdictName(Verdict verdict);

// Black's stone on the empty point p. The board's values: 1 a Black stone, 2 a White stone, any
// other value an empty point (the engine's marks are ignored). p must be on the board and empty.
Verdict JudgeBlackMove(const Board& board, Point p);

// The verdict for every point; points holding a stone read kLegal.
using VerdictTable = std::array<std::array<Verdict, kBoardSize>, kBoardSize>;
VerdictTable JudgeBoard(const Board& board);

}  // namespace zel
