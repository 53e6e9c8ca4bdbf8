// The whole state of one game: the moves, the position, the players and the settings, with the
// engine's state that the search reads, and the turn control that the window's input drives.
// Platform-free; the window reaches the platform through Host.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/trace.h"
#include "game/host.h"
#include "game/levels.h"
#include "openings/computer.h"
#include "openings/opening.h"
#include "patterns/board.h"
#include "patterns/threat_inventory.h"
#include "search/choose_move.h"
#include "search/engine_state.h"
#include "search/search_result.h"
#include "search/think.h"

namespace zel {

namespace ab {
class Searcher;
}

inline constexpr char kMan = 'M';       // a colour played by the user
inline constexpr char kComputer = 'C';  // a colour played by the computer

// The program's own texts.
inline constexpr std::string_view kGreeting = "Welcome to Kelvo version";
inline constexpr std::string_view kBlackWon = "Black Won !";
inline constexpr std::string_view kWhiteWon = "White Won !";
inline constexpr std::string_view kKinjite = "Kinjite !";
inline constexpr std::string_view kThinking = "thinking...";
inline constexpr std::string_view kReady = "ﾚﾃﾞｨ";
inline constexpr std::string_view kTraceExtension = "txt";
inline constexpr std::string_view kPsqExtension = "psq";

// The trace keeps at most this many nodes of a search; further nodes are counted only.
inline constexpr std::size_t kTraceCapacity = 1'000'000;

// What became of a move handed to Game::Play.
enum class PlayResult {
  kPlayed,
  kOffBoard,  // the point is not on the board
  kOccupied,  // a stone is already there
  kBusy,      // a turn is in progress: nothing changes until it ends
};

// The time a reply may take: the search stops at `hard`, and a deeper level starts only when it
// is expected to end by `soft`.
struct MoveBudget {
  std::chrono::milliseconds hard{0};
  std::chrono::milliseconds soft{0};
};

// One level of a deepening search: its search level, nodes, milliseconds and whether the time ran
// out before it ended.
struct LevelReport {
  int level = 0;
  std::int64_t nodes = 0;
  double milliseconds = 0;
  bool stopped = false;
};

// The navigation keys' steps through the game's line (Game::Navigate).
enum class Step {
  kBack,     // Left: to the user's previous turn
  kForward,  // Right: to the user's next turn in the line, or the line's end
  kHome,     // Home: to the user's first turn
  kEnd,      // End: to the line's last move
};

// A deepening search starts at this level and goes up in these steps.
inline constexpr int kFirstDeepeningLevel = 4;
inline constexpr int kDeepeningStep = 2;

// The board cell under a pixel of the board's picture: 19-pixel squares from (17, 17), row from
// y and column from x, the divisions truncating toward zero. Off the board for pixels right of
// or below the grid (and far left of or above it).
Point CellFromPoint(int x, int y);

class Game : private SearchHooks {
 public:
  // Seeds the move choice's random generator from the clock and starts a new game. The record is
  // written to recordPath ("move.txt" in the current directory unless told otherwise; an empty
  // path keeps no record).
  explicit Game(Host& host, std::filesystem::path recordPath = std::string(kRecordFileName));
  ~Game() override;

  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // --- The window's input. While a turn is in progress (thinking()), each of these is dropped:
  // the search hands pending window messages to the host, which may deliver input here.

  // A left click at a pixel of the board's picture: the side to move plays the cell, with its
  // messages; the record is written at every fourth stone; the computer replies when the colour
  // then to move is its own. A click off the board or on a stone does nothing.
  void TakeTurn(int x, int y);
  // The computer plays the side to move, whoever that side's player is ("Next").
  void RequestMove();
  // A character typed on the board: with both players the user's, space takes the last move
  // back and 'n' plays the next move of the move list again.
  void OnChar(char ch);
  // "New Game": a new game, repainted.
  void NewGameCommand();
  // The players of both colours (kMan or kComputer), then a new game, repainted.
  void SetPlayers(char black, char white);
  // Writes the record ("Save"); a failure is shown in a message box naming the file and the
  // reason.
  void SaveRecordCommand();
  // Replaces the game by the record's moves; a file that cannot be read leaves the game as it
  // was, and a damaged one loads the moves before the damage; both are reported.
  void LoadRecordCommand();
  // "Open .psq": asks for a Piskvork record and replaces the game by its moves; a file that cannot
  // be read or holds no sound game leaves the game as it was, and the status bar says why.
  void OpenPsqCommand();
  // "Save .psq As": asks for a file and writes the moves on the board as a Piskvork record.
  void SavePsqCommand();
  // Asks for a file and writes the trace file ("Save full", or with shortTrace "Save short").
  void SaveTraceCommand(bool shortTrace);
  // Asks for a trace file and loads its moves but the last, which 'n' then plays.
  void LoadTraceCommand();
  // Replaces the search settings; refuses (false, nothing changed) while a turn is in progress
  // and settings under which a search would run past the move list's scratch entries.
  bool SetSettings(const SearchSettings& settings);
  // Selects the level item kLevelItems[levelIndex]: its search level (the other settings stay),
  // its thinking time and its engine. Refused during a turn and for an index outside the table.
  bool SelectLevel(int levelIndex);
  // Replaces the selected level's thinking time (tests shorten it); refused during a turn.
  bool SetThinkingTime(std::chrono::milliseconds time);
  // The strong engine's time a move, kept for "Advanced" whenever it is selected; refused during a
  // turn and for a time of zero.
  bool SetAdvancedTime(std::chrono::milliseconds time);
  std::chrono::milliseconds advancedTime() const { return advancedTime_; }
  // Whether the search's nodes are kept for the trace file.
  bool SetTraceSwitch(bool on);
  // Coordinate labels: 1 "Debug", 0 "Goo".
  bool SetDisplayMode(int mode);

  // The opening rule of the next new games, or none for a free game ("Free"); starts a new game,
  // repainted. Under a rule a new game starts the opening: the players of the colours set above
  // are its first (Black) and second players, and each swap exchanges them, so that the computer
  // plays the colour it holds when the game goes on.
  void SetOpeningRule(std::optional<openings::Rule> rule);
  std::optional<openings::Rule> openingRule() const { return openingRule_; }
  // The opening of this game, in progress or over; none in a free game and in one replaced by
  // loaded moves without their opening log.
  const openings::Opening* opening() const { return opening_ ? &*opening_ : nullptr; }
  bool InOpening() const { return opening_ && !opening_->Done(); }
  // The 5th moves on offer until White keeps one, then those the user has picked for an offer.
  std::vector<Point> OfferedMoves() const;
  // What each of the computer's opening decisions may spend; unless told, the time of "Advanced"
  // up to a few seconds.
  void SetOpeningBudget(const openings::DecisionBudget& budget) { openingBudget_ = budget; }

  // A turn is in progress: the computer thinks, or a message about a stone awaits its OK.
  bool thinking() const { return thinking_; }

  // --- Game operations for loaders, tools and tests; like the input, refused during a turn.

  // Clears the position and the stored threat inventory, sets the move count to 0 (the move
  // list keeps its entries), places the computer's centre stone when Black is the computer, and
  // shows the greeting. Does not repaint.
  void NewGame();
  // Replaces the game by one holding these moves (stone k is Black for odd k); with no moves
  // this is a new game. Loading stops before a move off the board or onto a stone, so the game
  // stays sound whatever it is given. Returns the number of moves loaded.
  int LoadMoves(std::span<const Point> moves);
  // Enters the next move of the side to move into the move list and places it. A point off the
  // board or on a stone is refused and changes nothing. A marked point is not refused: Black's
  // forbidden points are the player's to avoid.
  [[nodiscard]] PlayResult Play(Point p);
  // Takes the last stone off; its move-list entry stays. False when the board is empty.
  bool TakeBack();
  // Plays the move-list entry after the last move again, if it lies on the board and is empty.
  bool ReplayNext();
  // Moves through the game's line without a reply from the computer: with both players the
  // user's a step is one move, against the computer it goes to a position where the user is to
  // move (so Left takes back the computer's reply and the user's move together). Refused during a
  // turn and where the line offers no such position; the record is not written.
  bool Navigate(Step step);
  // Restarts the move choice's random generator, for repeatable games.
  void SeedRandom(std::uint32_t seed) { engine_.random.Seed(seed); }

  // The computer's reply for the side to move, found without playing it. A search still running
  // at the deadline is abandoned: its thought says stopped, and its result means nothing.
  Thought Think(std::optional<std::chrono::steady_clock::time_point> deadline = std::nullopt);
  // The computer's reply deepened level by level: from firstLevel (12 through move 9, where the
  // search raises lower levels to 12) in steps of 2 up to lastLevel, a level starting only when
  // it is expected to end by the budget's soft time, and stopping at its hard time. The thought
  // is the last completed level's, or a stopped one when none completed. The search settings
  // other than the level are the game's.
  Thought ThinkWithin(const MoveBudget& budget, int firstLevel, int lastLevel,
                      const std::function<void(const LevelReport&)>& onLevel = {});
  // "Hint": the strong engine's point for the side to move within the time of "Advanced", shown in
  // the status bar ("Hint: h8") and kept for the window to mark until a stone is placed or taken
  // back; not played. Like a reply it holds the turn, pumping the window's messages.
  std::optional<Point> Hint();
  // The point of the last hint, while the position is the one it was found for.
  std::optional<Point> hint() const { return hint_; }
  // Asks the search of the turn in progress to stop as soon as it can; the computer then plays
  // its one-ply choice. For a window that is closing.
  void StopThinking() {
    if (thinking_) stopRequested_ = true;
  }
  // A flag that, while set, stops the threat search as StopThinking does, for a front end that
  // reads its input on another thread; none unless given.
  void SetStopFlag(const std::atomic<bool>* flag) { stopFlag_ = flag; }
  // The one-ply choice for the side to move; its scores become the score table.
  MoveChoice ChooseMove();

  // --- The state.
  int moveCount() const { return engine_.moveCount; }
  // Move k of the game (1 to moveCount); other entries are scratch or kNoPoint.
  Point Move(int k) const { return engine_.moveList[k]; }
  std::span<const Point> Moves() const {
    return {engine_.moveList.data() + 1, static_cast<size_t>(engine_.moveCount)};
  }
  // The game's line: the moves on the board, then those taken back after them, until a stone
  // other than the line's next move cuts them.
  std::span<const Point> Line() const { return line_; }
  int SideToMove() const { return engine_.moveCount % 2 == 0 ? kBlack : kWhite; }
  const Position& position() const { return engine_.position; }
  const EngineState& engine() const { return engine_; }
  const SearchSettings& settings() const { return engine_.settings; }
  char blackPlayer() const { return blackPlayer_; }
  char whitePlayer() const { return whitePlayer_; }
  char Player(int colour) const { return colour == kBlack ? blackPlayer_ : whitePlayer_; }
  int levelIndex() const { return levelIndex_; }
  // The selected level's thinking time; zero for a fixed search level.
  std::chrono::milliseconds thinkingTime() const { return thinkingTime_; }
  // Whether the selected level plays the strong engine.
  bool strongEngine() const { return strongEngine_; }
  int displayMode() const { return displayMode_; }
  bool traceSwitch() const { return traceSwitch_; }
  // '+' when the last search proved a win for the colour it played, else ' '.
  char statusMark() const { return statusMark_; }
  // The last search's answer. For the strong engine: its point, its depth, and a value of 3 (-3)
  // when it proved a win for Black (White), else 0.
  const SearchResult& searchResult() const { return searchResult_; }
  // The nodes of the last search (with the trace switch on), and how many it visited.
  std::span<const TraceEntry> traceEntries() const { return trace_; }
  int traceCount() const { return engine_.traceCount; }
  // The scores of the last one-ply choice made through ChooseMove.
  const ScoreTable& scoreTable() const { return scoreTable_; }
  const std::filesystem::path& recordPath() const { return recordPath_; }
  Host& host() { return host_; }

  // The line of five the last move made, from one end to the other (White's may be longer), for
  // the window to mark the game's end; empty when it made none. Black's six or more is no five.
  std::vector<Point> WinningFive() const;

  // What is wrong with the game's state, or nothing: the board must hold exactly the stones of
  // moves 1 to moveCount, and the board's marks and both pattern tables must equal those of a
  // fresh replay of the moves.
  std::optional<std::string> BrokenInvariant() const;

 private:
  // Everything a new game resets, without the computer's centre stone.
  void Reset();
  // Takes the opening's steps while they are the computer's or asked in dialogs; stops where a
  // click is awaited (the status bar says which) or, when the opening is over, lets the computer
  // play on if the colour to move is its own. With computerOnce the computer takes the step
  // awaited first, whoever's it is ("Next").
  void RunOpening(bool computerOnce = false);
  // The step asked of the user in a dialog, or nothing when a click is awaited.
  std::optional<OpeningStep> AskOpeningStep(const openings::Request& request);
  OpeningStep ComputerOpeningStep();
  // A click during the opening: a stone placed, a 5th move picked for an offer (or dropped again),
  // or an offered move kept.
  void OpeningClick(Point p);
  // Takes a step, placing its stone and exchanging the players at a swap; the reason when the
  // rules refuse it, which changes nothing.
  std::optional<std::string> TakeOpeningStep(const OpeningStep& step);
  // Takes up the opening log beside a record just loaded, when it is the opening of its moves.
  void RestoreOpening();
  // Enters p into the move list and the line and places a stone of colour there.
  void PlaceStone(Point p, int colour);
  // Whether the user plays the side to move after `count` moves.
  bool UsersTurnAt(int count) const { return Player(count % 2 == 0 ? kBlack : kWhite) == kMan; }
  // The turn of a click on `cell`, or of a request when there is none.
  void Turn(std::optional<Point> cell);
  // Plays the computer's stone for colour, the side to move.
  void ComputerReply(int colour);
  // The strong engine's point for colour, the side to move, within `time`; the
  // one-ply choice when it is stopped from the window or answers no legal point.
  std::optional<Point> StrongReply(int colour, std::chrono::milliseconds time);
  // The messages for a stone of colour about to go on p; true when it makes a five.
  bool AnnounceStone(int colour, Point p);
  // Writes the record when the move count is a multiple of 4; a failure is shown in the status
  // bar.
  void AutosaveRecord();
  // Writes the record; what went wrong, if it failed.
  std::optional<std::string> WriteRecord();
  // Replaces the game by the first `placed` of these moves, keeping the move after them in the
  // move list; reports how loading ended.
  void LoadFrom(const RecordLoad& load, const std::filesystem::path& path, bool keepLast);

  // SearchHooks: the search's pending-message pump and its nodes.
  void PumpOneMessage() override;
  void RecordTrace(int index, int ply, int row, int col, int value) override;
  bool StopRequested() override;

  Host& host_;
  std::filesystem::path recordPath_;
  EngineState engine_;
  std::vector<Point> line_;
  char blackPlayer_ = kMan;
  char whitePlayer_ = kMan;
  int levelIndex_ = 0;  // which level item is checked; 0 = "Beginner"
  std::chrono::milliseconds thinkingTime_{0};
  std::chrono::milliseconds advancedTime_ = kLevelItems.back().thinkingTime;
  bool strongEngine_ = false;
  // The strong engine, made at its first reply: a game that never plays it holds no hash table.
  std::unique_ptr<ab::Searcher> searcher_;
  int displayMode_ = 0;
  bool traceSwitch_ = false;
  char statusMark_ = ' ';
  std::optional<Point> hint_;
  bool thinking_ = false;
  SearchResult searchResult_;
  std::vector<TraceEntry> trace_;
  ScoreTable scoreTable_{};
  std::optional<std::chrono::steady_clock::time_point> deadline_;  // of the running search
  bool stopRequested_ = false;
  const std::atomic<bool>* stopFlag_ = nullptr;
  std::optional<openings::Rule> openingRule_;
  std::optional<openings::Opening> opening_;
  std::unique_ptr<openings::OpeningComputer> openingComputer_;
  std::optional<openings::DecisionBudget> openingBudget_;
  // The 5th moves the user has picked for an offer, and whether Taraguchi-10's Black offers
  // instead of placing the 5th (asked once a step).
  std::vector<Point> pendingOffer_;
  std::optional<bool> offerInstead_;
  // The stones the opening placed: taking back and moving through the game stop above them.
  int openingStones_ = 0;
  // Cleared at every new game and handed to the search, whose root does not read it.
  ThreatInventory storedInventory_;
};

}  // namespace zel
