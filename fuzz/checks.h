// What the fuzz targets expect of a reader's result. A failed check prints what it found and
// traps, so that libFuzzer keeps the input as a crash.
#pragma once

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>

#include "files/record.h"
#include "game/game.h"

namespace zel::fuzz {

inline void Check(bool ok, const std::string& what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::fflush(stderr);
  __builtin_trap();
}

// The lines of `text` as the readers split it: LF, CR LF and a lone CR each end a line.
inline std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
  }
  return lines;
}

// `load`, read from `text`: moves on the board, each on a point of its own; a stop that agrees
// with them and names a line of the text after their own (the last one's for trailing text); a
// few dozen bytes found; one printable line of description; a game that loads them soundly.
inline void CheckLoad(const RecordLoad& load, std::string_view text) {
  const std::vector<Point>& moves = load.moves;
  const std::string what = DescribeLoad(load) + " (" + std::to_string(moves.size()) + " moves)";
  Board taken{};
  for (const Point p : moves) {
    Check(OnBoard(p) && !taken[p.row][p.col], "a move off the board or on another: " + what);
    taken[p.row][p.col] = 1;
  }
  const bool trailing = load.stop == RecordStop::kTrailingText;
  const bool normal = load.stop == RecordStop::kEnd || load.stop == RecordStop::kNoMoves;
  Check(!IsFileError(load.stop) && load.error == 0, "a file error from text: " + what);
  Check(!normal || ((load.stop == RecordStop::kNoMoves) == moves.empty() && load.line == 0),
        "a normal end that reads " + what);
  Check(normal || (load.line >= static_cast<int>(moves.size() + (trailing ? 0 : 1)) &&
                   load.line <= static_cast<int>(SplitLines(text).size()) &&
                   (!trailing || !moves.empty())),
        "an early stop at a line it cannot be: " + what);
  Check(load.stop != RecordStop::kTooManyMoves || moves.size() == kMaxMoves + 0U,
        "a 226th move before the 225th: " + what);
  Check(load.found.size() <= 64, "the stop keeps too much of what it found: " + what);
  Check(what[0] != ' ' && std::ranges::all_of(what, [](char ch) { return ch >= ' ' && ch <= '~'; }),
        "a description that is not one printable line: " + what);
  HeadlessHost host;
  const auto game = std::make_unique<Game>(host);
  Check(game->LoadMoves(moves) == static_cast<int>(moves.size()), "the game refuses " + what);
  for (int pass = 0; pass < 2; ++pass) {  // loaded, then taken back and replayed
    const std::optional<std::string> broken = game->BrokenInvariant();
    Check(std::ranges::equal(game->Moves(), moves) && !broken,
          "a game in a broken state: " + broken.value_or(what));
    while (pass == 0 && game->TakeBack()) {
    }
    Check(pass > 0 || game->position().board == Position().board, "taking all back leaves some");
    while (pass == 0 && game->ReplayNext()) {
    }
  }
}

// What a reader made of the text written for `moves`: the same moves, ending normally.
inline void CheckReadBack(const RecordLoad& reread, std::span<const Point> moves) {
  Check(std::ranges::equal(reread.moves, moves) &&
            reread.stop == (moves.empty() ? RecordStop::kNoMoves : RecordStop::kEnd),
        "the text written for the moves reads back as " + DescribeLoad(reread));
}
}  // namespace zel::fuzz
