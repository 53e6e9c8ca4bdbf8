// The engine behind the Gomocup "pbrain" protocol: one input line at a time in, answer lines out.
// Coordinates are "x,y", x the column and y the row, 0-based from the top-left. The engine plays
// Renju rules whatever the manager asks, and never answers an illegal move.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "alphabeta/search.h"
#include "game/game.h"
#include "game/host.h"

namespace zel {

// The longest input line kept; the rest of a longer line is read and dropped.
inline constexpr std::size_t kMaxLineLength = 4096;

// Reads one line (without its end) into line, keeping at most kMaxLineLength characters. False
// at the end of input with nothing read.
bool ReadProtocolLine(std::istream& in, std::string& line);

// The engine plays the strong engine unless a level or a deepest level picks the threat search.
struct BrainOptions {
  std::optional<int> level;           // the threat search at this fixed level
  std::optional<int> maxLevel;        // the threat search, deepening up to this level
  std::optional<std::uint32_t> seed;  // the move choice's seed; the clock's when absent
  bool reportLevels = false;          // a DEBUG line for every search level or iteration

  bool Strong() const { return !level && !maxLevel; }
};

// The time limits the manager set, in milliseconds.
struct TimeLimits {
  std::int64_t turn = 5000;          // per move; 0 plays at once
  std::int64_t match = 0;            // the whole match; 0 no limit
  std::optional<std::int64_t> left;  // what is left of the match
};

// The time a move may take under the manager's limits, with `stones` on the board: the hard
// limit is never run past, and the soft one is what the move should normally take. A margin for
// the process and the pipe comes off every limit; what is left of the match is shared among the
// moves estimated to come, and one move takes at most three shares of it.
MoveBudget BudgetFor(const TimeLimits& limits, int stones);

// The strong engine's hash table under INFO max_memory (bytes; 0 or less: the engine's default):
// what is left after the engine's fixed memory, within a ceiling.
std::size_t HashBytesFor(std::int64_t maxMemory);

class Brain {
 public:
  explicit Brain(std::ostream& out, BrainOptions options = {});

  // Handles one input line; false once the engine is to exit (END).
  bool HandleLine(std::string_view line);

  const Game& game() const { return game_; }
  const TimeLimits& limits() const { return limits_; }
  bool readingBoard() const { return readingBoard_; }

 private:
  struct BoardStone {
    Point point;
    int who = 0;  // 1 own, 2 opponent, 3 a stone of a continuous game
  };

  void Answer(std::string_view text);
  void Start(std::string_view args);
  void Turn(std::string_view args);
  void TakeBackCommand(std::string_view args);
  void Info(std::string_view args);
  void BoardLine(std::string_view line);
  void BoardDone();
  // Chooses, plays and answers the engine's move for the side to move.
  void MoveNow();
  // The engine's move for the side to move, or nothing when no legal point is left.
  std::optional<Point> FindMove();
  // Whether the side to move may play p: on the board, empty, and for Black not forbidden.
  bool Legal(Point p) const;
  std::optional<Point> FiveOnOffer() const;
  std::optional<Point> BestScoredLegal();
  // Gives the strong engine's hash table the size asked for, if it has another.
  void SizeHashTable();

  std::ostream& out_;
  BrainOptions options_;
  HeadlessHost host_;
  Game game_;
  TimeLimits limits_;
  bool readingBoard_ = false;
  std::vector<BoardStone> boardStones_;
  // The strong engine, its table's size asked for, and the size it has: none until the first
  // search or max_memory, so that a brain playing the threat search holds no table.
  ab::Searcher searcher_;
  std::chrono::steady_clock::time_point received_;  // of the line being handled
  std::size_t hashBytes_;
  std::optional<std::size_t> tableBytes_;
};

}  // namespace zel
