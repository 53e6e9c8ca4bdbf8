#include "checks.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include "game/game.h"
#include "game/host.h"

namespace zel::fuzz {
namespace {

constexpr size_t kPoints = kBoardSize * kBoardSize;

// "A few dozen bytes" of what a stop found, with room to spare.
constexpr size_t kFoundLimit = 64;

bool IsNormalEnd(RecordStop stop) {
  return stop == RecordStop::kEnd || stop == RecordStop::kNoMoves;
}

bool IsEarlyStop(RecordStop stop) {
  return !IsNormalEnd(stop) && !IsFileError(stop);
}

// How reading these moves ends when nothing stops it early.
RecordStop NormalEnd(std::span<const Point> moves) {
  return moves.empty() ? RecordStop::kNoMoves : RecordStop::kEnd;
}

// Fails with `what` and the number of moves expected.
[[noreturn]] void FailWith(std::span<const Point> moves, const std::string& what) {
  Fail(what + " (expected: " + std::to_string(moves.size()) + " moves)");
}

// The game holds exactly `moves`.
void CheckGameMoves(const Game& game, std::span<const Point> moves, const char* when) {
  if (game.moveCount() != static_cast<int>(moves.size())) {
    FailWith(moves,
             std::string(when) + ": the game holds " + std::to_string(game.moveCount()) + " moves");
  }
  if (!std::ranges::equal(game.Moves(), moves)) {
    FailWith(moves, std::string(when) + ": the game's moves differ from those given");
  }
}

}  // namespace

void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::fflush(stderr);
  __builtin_trap();
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crlf ? 2 : 1));
  }
  return lines;
}

std::string Show(Point p) {
  return "(" + std::to_string(p.row) + ", " + std::to_string(p.col) + ")";
}

void CheckLoad(const RecordLoad& load, std::string_view text) {
  // 1. The moves: no more than the board's points, each on the board and on a point of its own.
  const std::span<const Point> moves = load.moves;
  if (moves.size() > kPoints) FailWith(moves, "more moves than the board has points");
  std::array<std::array<bool, kBoardSize>, kBoardSize> taken{};
  for (size_t k = 0; k < moves.size(); ++k) {
    const Point p = moves[k];
    const auto move = [&] { return "move " + std::to_string(k + 1) + " " + Show(p); };
    if (!OnBoard(p)) FailWith(moves, move() + " is off the board");
    if (taken[p.row][p.col]) FailWith(moves, move() + " repeats an earlier move");
    taken[p.row][p.col] = true;
  }

  // 2. The stop agrees with the moves. Text is never a file error; an early stop names a line
  // after the moves' own lines (the last move's line for trailing text) and within the text.
  if (IsFileError(load.stop) || load.error != 0) FailWith(moves, "a file error from text");
  if (IsNormalEnd(load.stop) && load.stop != NormalEnd(moves)) {
    FailWith(moves, "a normal end that reads " + DescribeLoad(load));
  }
  if (load.stop == RecordStop::kTrailingText && moves.empty()) {
    FailWith(moves, "text after a move that was not kept");
  }
  if (load.stop == RecordStop::kTooManyMoves && moves.size() != kPoints) {
    FailWith(moves, "a 226th move before the 225th");
  }
  if (IsEarlyStop(load.stop)) {
    const size_t first = moves.size() + (load.stop == RecordStop::kTrailingText ? 0 : 1);
    const int lines = static_cast<int>(SplitLines(text).size());
    if (load.line < static_cast<int>(first) || load.line > lines) {
      FailWith(moves, "an early stop at line " + std::to_string(load.line) + " of " +
                          std::to_string(lines));
    }
  } else if (load.line != 0) {
    FailWith(moves, "a normal end at line " + std::to_string(load.line));
  }
  if (load.found.size() > kFoundLimit) {
    FailWith(moves, "the stop keeps " + std::to_string(load.found.size()) + " bytes it found");
  }

  // 3. The description: one line of printable ASCII.
  const std::string description = DescribeLoad(load);
  if (description.empty()) FailWith(moves, "an empty description");
  if (!std::ranges::all_of(description, [](char ch) { return ch >= ' ' && ch <= '~'; })) {
    FailWith(moves, "a description that is not one printable line: " + description);
  }
}

void CheckGame(std::span<const Point> moves) {
  HeadlessHost host;
  const auto game = std::make_unique<Game>(host);
  const int loaded = game->LoadMoves(moves);
  if (loaded != static_cast<int>(moves.size())) {
    FailWith(moves, "LoadMoves loads " + std::to_string(loaded));
  }
  CheckGameMoves(*game, moves, "after LoadMoves");
  if (const auto broken = game->BrokenInvariant()) {
    FailWith(moves, "the loaded game's state is broken: " + *broken);
  }

  // Taking every stone back empties the board, marks and all. The pattern tables are not
  // compared with a new game's: a removal leaves the short diagonals near the corners blocked
  // where a new game reads them as base.
  const Position before = game->position();
  while (game->TakeBack()) {
  }
  CheckGameMoves(*game, {}, "after taking every stone back");
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      if (game->position().board[r][c] != kEmpty) {
        FailWith(moves, "after taking every stone back, board value " +
                            std::to_string(game->position().board[r][c]) + " at " + Show({r, c}));
      }
    }
  }

  // Replaying the move list restores the loaded game exactly.
  while (game->ReplayNext()) {
  }
  CheckGameMoves(*game, moves, "after replaying the move list");
  const Position& after = game->position();
  if (after.board != before.board || after.blackCodes != before.blackCodes ||
      after.whiteCodes != before.whiteCodes || after.blackCounts != before.blackCounts ||
      after.whiteCounts != before.whiteCounts ||
      after.blackThreatMasks != before.blackThreatMasks ||
      after.whiteThreatMasks != before.whiteThreatMasks) {
    FailWith(moves, "taking back and replaying every move changes the position");
  }
}

void CheckReadBack(const RecordLoad& reread, std::span<const Point> moves, std::string_view what) {
  if (!std::ranges::equal(reread.moves, moves)) {
    FailWith(moves, std::string(what) + " read back gives other moves: " + DescribeLoad(reread));
  }
  if (reread.stop != NormalEnd(moves)) {
    FailWith(moves,
             std::string(what) + " read back does not end normally: " + DescribeLoad(reread));
  }
}

}  // namespace zel::fuzz
