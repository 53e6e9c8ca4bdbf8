// The engine behind the Gomocup "pbrain" protocol and the analysis boards' "YX" commands: one input
// line at a time in, answer lines out. Coordinates are "x,y", x the column and y the row, 0-based
// from the top-left. The engine plays Renju rules whatever the manager asks, and never answers an
// illegal move.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "alphabeta/search.h"
#include "brain/budget.h"
#include "game/game.h"
#include "game/host.h"

namespace zel {

// The longest input line kept; the rest of a longer line is read and dropped.
inline constexpr std::size_t kMaxLineLength = 4096;

// The command word of an input line, in capitals.
std::string CommandOf(std::string_view line);

// Reads one line (without its end) into line, keeping at most kMaxLineLength characters. False
// at the end of input with nothing read.
bool ReadProtocolLine(std::istream& in, std::string& line);

// Output lines, each written whole and flushed under one lock, so that lines from several
// threads never mix; once closed, lines are dropped.
class LineWriter {
 public:
  explicit LineWriter(std::ostream& out) : out_(out) {}
  void Write(std::string_view line);
  void Close();

 private:
  std::mutex mutex_;
  std::ostream& out_;
  bool closed_ = false;
};

// The engine plays the strong engine unless a level or a deepest level picks the threat search.
struct BrainOptions {
  std::optional<int> level;           // the threat search at this fixed level
  std::optional<int> maxLevel;        // the threat search, deepening up to this level
  std::optional<std::uint32_t> seed;  // the move choice's seed; the clock's when absent
  bool reportLevels = false;          // a DEBUG line for every search level or iteration

  bool Strong() const { return !level && !maxLevel; }
};

class Brain {
 public:
  using Clock = std::chrono::steady_clock;

  explicit Brain(std::ostream& out, BrainOptions options = {});

  // Handles one input line that arrived at `received`, from where a move's time runs; false once
  // the engine is to exit (END). STOP and YXSTOP do nothing here: a search hears them through
  // SetStop, from the thread that reads the input.
  bool HandleLine(std::string_view line, Clock::time_point received = Clock::now());

  // From any thread: while set, a search ends at once and its move so far is answered.
  void SetStop(bool stop) { stop_.store(stop, std::memory_order_relaxed); }
  // From any thread: no line is written any more (the engine is leaving mid-search).
  void Silence() { out_.Close(); }

  const Game& game() const { return game_; }
  const TimeLimits& limits() const { return limits_; }
  bool readingBoard() const { return readingBoard_; }

 private:
  struct BoardStone {
    Point point;
    int who = 0;  // 1 own, 2 opponent, 3 a stone of a continuous game
  };

  void Answer(std::string_view text) { out_.Write(text); }
  void Start(std::string_view args);
  void Turn(std::string_view args);
  void TakeBackCommand(std::string_view args);
  void Info(std::string_view args);
  void BoardLine(std::string_view line);
  // Sets up the stones read since BOARD or YXBOARD; then moves, after BOARD.
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
  // The move's budget under the limits and the position's tension, less the time since the
  // command arrived, and never below `least`.
  MoveBudget Remaining(std::chrono::milliseconds least) const;
  // The strong engine's search of the game's position within the budget.
  ab::SearchReport StrongSearch(const MoveBudget& budget);
  // A finished iteration: its DEBUG line with --verbose, its live lines once asked for.
  void ReportIteration(const ab::SearchReport& report);

  // The analysis boards' commands.
  void ShowForbidden();
  void BestMoves(std::string_view args);

  LineWriter out_;
  BrainOptions options_;
  HeadlessHost host_;
  Game game_;
  TimeLimits limits_;
  bool readingBoard_ = false;
  bool boardMoves_ = false;  // BOARD, not YXBOARD: the engine moves at DONE
  std::vector<BoardStone> boardStones_;
  // The strong engine, its table's size asked for, and the size it has: none until the first
  // search or max_memory, so that a brain playing the threat search holds no table.
  ab::Searcher searcher_;
  std::atomic<bool> stop_ = false;
  Clock::time_point received_;  // of the line being handled
  std::size_t hashBytes_;
  std::optional<std::size_t> tableBytes_;
  // Live lines while thinking (YXSHOWINFO, INFO show_detail): after the first iteration of a
  // command's thinking, then at most one every kLiveInterval; the best point when it changes.
  bool liveLines_ = false;
  std::optional<Clock::time_point> lastLiveLine_;
  ab::Cell lastLiveBest_ = ab::kNoCell;
};

}  // namespace zel
