#include "game/game.h"

#include <atomic>
#include <ctime>
#include <utility>

#include "alphabeta/search.h"
#include "files/move_text.h"
#include "files/opening_log.h"
#include "files/record.h"
#include "files/text_file.h"
#include "patterns/line_codes.h"
#include "patterns/update.h"
#include "rules/renju_rules.h"

namespace zel {
namespace {

// The board's picture: cell (r, c) is the 19-pixel square at (17 + 19c, 17 + 19r).
constexpr int kBoardOrigin = 17;
constexpr int kCellPixels = 19;

// The record is written whenever a stone brings the move count to a multiple of this.
constexpr int kAutosaveInterval = 4;

// The extension the search gets back at every click.
constexpr int kFourExtension = 6;

// The most an opening decision of the computer's takes unless told: the time of "Advanced" up to
// this.
constexpr std::chrono::milliseconds kMostDecisionTime{3000};

bool MakesFive(const Position& pos, int colour, Point p) {
  const PatternEntry codes = pos.Entry(colour, p.row, p.col);
  for (int d = 0; d < kDirections; ++d) {
    if (codes[d] == kFive) return true;
  }
  return false;
}

// Whether the diagonal (direction 2) or anti-diagonal (3) through (r, c) has fewer than five
// cells.
bool ShortDiagonal(int r, int c, int dir) {
  const int offset = dir == 2 ? r - c : r + c - (kBoardSize - 1);
  return kBoardSize - (offset < 0 ? -offset : offset) < 5;
}

// Raises a flag for the length of a scope.
class Busy {
 public:
  explicit Busy(bool& flag) : flag_(flag), was_(std::exchange(flag, true)) {}
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;
  ~Busy() { flag_ = was_; }

 private:
  bool& flag_;
  bool was_;
};

}  // namespace

Point CellFromPoint(int x, int y) {
  return {(y - kBoardOrigin) / kCellPixels, (x - kBoardOrigin) / kCellPixels};
}

Game::Game(Host& host, std::filesystem::path recordPath)
    : host_(host), recordPath_(std::move(recordPath)) {
  engine_.random.Seed(static_cast<std::uint32_t>(std::time(nullptr)));
  engine_.hooks = this;
  NewGame();
}

Game::~Game() = default;

void Game::Reset() {
  engine_.position.Clear();
  for (auto& row : scoreTable_)
    row.fill(0);
  storedInventory_ = ThreatInventory{};
  engine_.moveCount = 0;
  line_.clear();
  hint_.reset();
  statusMark_ = ' ';
  opening_.reset();
  openingComputer_.reset();
  pendingOffer_.clear();
  offerInstead_.reset();
  openingStones_ = 0;
}

void Game::PlaceStone(Point p, int colour) {
  hint_.reset();
  const auto next = static_cast<size_t>(engine_.moveCount);
  if (next >= line_.size() || line_[next] != p) {
    line_.resize(next);
    line_.push_back(p);
  }
  engine_.moveList[++engine_.moveCount] = p;
  UpdatePatterns(engine_.position, p.row, p.col, colour);
}

void Game::NewGame() {
  if (thinking_) return;
  Reset();
  if (openingRule_) {
    // The opening's first step waits for RunOpening, whoever takes it.
    opening_.emplace(*openingRule_);
    return host_.ShowStatus(openings::Describe(opening_->Next()));
  }
  if (blackPlayer_ == kComputer) (void)Play({7, 7});  // the empty board takes it
  host_.ShowStatus(kGreeting);
}

int Game::LoadMoves(std::span<const Point> moves) {
  if (thinking_) return 0;
  if (moves.empty()) {
    NewGame();
    return 0;
  }
  Reset();
  for (const Point p : moves) {
    if (Play(p) != PlayResult::kPlayed) break;
  }
  host_.ShowStatus(kGreeting);
  return engine_.moveCount;
}

PlayResult Game::Play(Point p) {
  if (thinking_) return PlayResult::kBusy;
  if (!OnBoard(p)) return PlayResult::kOffBoard;
  // A full board has no point left, so the move list cannot overflow.
  if (engine_.position.board[p.row][p.col] > 0) return PlayResult::kOccupied;
  PlaceStone(p, SideToMove());
  return PlayResult::kPlayed;
}

bool Game::TakeBack() {
  if (thinking_ || engine_.moveCount == 0) return false;
  const Point last = engine_.moveList[engine_.moveCount];
  UpdatePatterns(engine_.position, last.row, last.col, 0);
  hint_.reset();
  --engine_.moveCount;
  return true;
}

bool Game::ReplayNext() {
  if (engine_.moveCount >= kMaxMoves) return false;
  return Play(engine_.moveList[engine_.moveCount + 1]) == PlayResult::kPlayed;
}

bool Game::Navigate(Step step) {
  if (thinking_ || InOpening()) return false;
  const int floor = openingStones_;
  const int end = static_cast<int>(line_.size());
  const int count = engine_.moveCount;
  int target = count;
  switch (step) {
    case Step::kBack:
      for (target = count - 1; target >= floor && !UsersTurnAt(target);)
        --target;
      break;
    case Step::kForward:
      for (target = count + 1; target < end && !UsersTurnAt(target);)
        ++target;
      break;
    case Step::kHome:
      for (target = floor; target < end && !UsersTurnAt(target);)
        ++target;
      break;
    case Step::kEnd:
      target = end;
      break;
  }
  if (target < floor || target > end || target == count) return false;
  while (engine_.moveCount > target)
    TakeBack();
  while (engine_.moveCount < target)
    (void)Play(line_[static_cast<size_t>(engine_.moveCount)]);
  statusMark_ = ' ';
  host_.Repaint();
  return true;
}

Thought Game::Think(std::optional<std::chrono::steady_clock::time_point> deadline) {
  deadline_ = deadline;
  const Thought thought = zel::Think(engine_, storedInventory_);
  deadline_.reset();
  return thought;
}

MoveChoice Game::ChooseMove() {
  return zel::ChooseMove(engine_, SideToMove(), engine_.position, scoreTable_);
}

// --- Input.

void Game::TakeTurn(int x, int y) {
  if (thinking_) return;
  const Point cell = CellFromPoint(x, y);
  if (!OnBoard(cell)) return;  // a click beside the grid
  if (!InOpening()) return Turn(cell);
  OpeningClick(cell);
  RunOpening();
}

void Game::RequestMove() {
  if (thinking_) return;
  if (InOpening()) return RunOpening(true);
  Turn(std::nullopt);
}

// --- The opening.

void Game::SetOpeningRule(std::optional<openings::Rule> rule) {
  if (thinking_) return;
  openingRule_ = rule;
  NewGameCommand();
}

std::vector<Point> Game::OfferedMoves() const {
  if (!opening_) return {};
  std::vector<Point> points(opening_->Offered().begin(), opening_->Offered().end());
  points.insert(points.end(), pendingOffer_.begin(), pendingOffer_.end());
  return points;
}

void Game::RunOpening(bool computerOnce) {
  // The stones counted once the opening's end has been taken care of.
  if (thinking_ || !opening_ || openingStones_ > 0) return;
  {
    const Busy busy(thinking_);
    stopRequested_ = false;
    while (InOpening()) {
      if (stopRequested_) return;  // the window is closing: no further decision
      const openings::Request& request = opening_->Next();
      std::optional<OpeningStep> step;
      if (computerOnce || Player(request.colour) == kComputer) {
        step = ComputerOpeningStep();
        computerOnce = false;
      } else {
        step = AskOpeningStep(request);
      }
      const std::optional<std::string> refused = step ? TakeOpeningStep(*step) : std::nullopt;
      // A step refused is not asked for again at once: the same answer would come back.
      if (refused) host_.ShowMessage(*refused);
      if (!step || refused) return host_.ShowStatus(openings::Describe(opening_->Next()));
    }
    host_.ShowStatus(openings::Describe(opening_->Next()));
  }
  // The game goes on from the opening's stones as a free game would.
  openingStones_ = moveCount();
  if (!stopRequested_ && Player(SideToMove()) == kComputer) Turn(std::nullopt);
}

std::optional<OpeningStep> Game::AskOpeningStep(const openings::Request& request) {
  const std::string asked = openings::Describe(request);
  host_.ShowStatus(asked);  // also behind a dialog
  switch (request.kind) {
    case OpeningStepKind::kSwap:
      return OpeningStep::Swap(host_.AskYesNo(asked + "\n\nSwap colours?"));
    case OpeningStepKind::kDeclare:
      if (const auto n = host_.AskNumber(asked, 1, request.count)) return OpeningStep::Declare(*n);
      return std::nullopt;  // cancelled: the next click asks again
    case OpeningStepKind::kPlace:
      if (request.offerInstead && !offerInstead_) {
        offerInstead_ = host_.AskYesNo(asked + "\n\nOffer the " + std::to_string(request.count) +
                                       " 5th moves instead of placing the 5th stone?");
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

OpeningStep Game::ComputerOpeningStep() {
  if (!openingComputer_) {
    const openings::DecisionBudget budget = openingBudget_.value_or(
        openings::DecisionBudget{0, std::min(advancedTime_, kMostDecisionTime)});
    openingComputer_ = std::make_unique<openings::OpeningComputer>(
        budget, static_cast<std::uint32_t>(engine_.random.Next()));
    // The window repaints while the computer weighs its decision, as during its moves.
    openingComputer_->SetPollHook([this] { host_.PumpOneMessage(); });
  }
  host_.ShowStatus(kThinking);
  OpeningStep step = openingComputer_->Decide(*opening_);
  host_.ShowStatus(kReady);
  return step;
}

void Game::OpeningClick(Point p) {
  const openings::Request& request = opening_->Next();
  if (Player(request.colour) != kMan) return;
  const bool offering = request.kind == OpeningStepKind::kOffer ||
                        (request.kind == OpeningStepKind::kPlace && offerInstead_.value_or(false));
  if (request.kind == OpeningStepKind::kChoose) {
    if (const auto refused = TakeOpeningStep(OpeningStep::Choose(p))) host_.ShowMessage(*refused);
  } else if (offering) {
    // A picked point clicked again is dropped; the offer is taken when it is complete.
    const auto picked = std::find(pendingOffer_.begin(), pendingOffer_.end(), p);
    if (picked != pendingOffer_.end()) {
      pendingOffer_.erase(picked);
    } else {
      pendingOffer_.push_back(p);
      if (static_cast<int>(pendingOffer_.size()) == request.count) {
        if (const auto refused = TakeOpeningStep(OpeningStep::Offer(pendingOffer_))) {
          pendingOffer_.pop_back();
          host_.ShowMessage(*refused);
        }
      }
    }
    host_.Repaint();
  } else if (request.kind == OpeningStepKind::kPlace) {
    if (const auto refused = TakeOpeningStep(OpeningStep::Place(p))) host_.ShowMessage(*refused);
  }
}

std::optional<std::string> Game::TakeOpeningStep(const OpeningStep& step) {
  if (auto refused = opening_->Apply(step)) return refused;
  pendingOffer_.clear();
  offerInstead_.reset();
  if (step.kind == OpeningStepKind::kPlace || step.kind == OpeningStepKind::kChoose) {
    PlaceStone(step.points[0], SideToMove());
    AutosaveRecord();
  }
  if (step.kind == OpeningStepKind::kSwap && step.number != 0)
    std::swap(blackPlayer_, whitePlayer_);
  host_.Repaint();
  return std::nullopt;
}

void Game::RestoreOpening() {
  const OpeningLogLoad load = LoadOpeningLog(OpeningLogPath(recordPath_));
  if (!load.log) return;  // a free game's record, or a log too damaged to read
  openings::Opening::Replay replay = openings::Opening::FromLog(*load.log);
  if (!replay.opening) return;
  // Only the opening of these moves is taken up: the moves loaded stay as they are.
  const std::span<const Point> stones = replay.opening->Stones();
  const std::span<const Point> moves = Moves();
  const bool over = replay.opening->Done();
  if (stones.size() > moves.size() || (!over && stones.size() != moves.size()) ||
      !std::equal(stones.begin(), stones.end(), moves.begin()))
    return;
  opening_ = std::move(replay.opening);
  openingStones_ = over ? static_cast<int>(stones.size()) : 0;
  if (!over) RunOpening();
}

void Game::Turn(std::optional<Point> cell) {
  const Busy busy(thinking_);
  stopRequested_ = false;
  // 1. Every turn starts with the search's usual extension for fours.
  engine_.settings.fourExtension = kFourExtension;

  // 2 and 3. The user's stone, for the side to move.
  if (cell) {
    const Point p = *cell;
    if (engine_.position.board[p.row][p.col] > 0) return;
    const int colour = SideToMove();
    const bool win = AnnounceStone(colour, p);
    PlaceStone(p, colour);
    statusMark_ = ' ';
    host_.Repaint();
    if (win) return;  // the winner's stone ends the turn: no record, no reply
  }
  // 4. The record at every fourth stone.
  AutosaveRecord();
  // 5. The computer's reply: for a click when the colour now to move is the computer's, for a
  // request whoever plays it.
  const int colour = SideToMove();
  if (!cell || Player(colour) == kComputer) ComputerReply(colour);
  // 6. The record again: the reply may have brought the count to a multiple of 4.
  AutosaveRecord();
}

bool Game::AnnounceStone(int colour, Point p) {
  // Black's stone is judged by the exact rules (the engine's marks only approximate them): a
  // five wins whatever else it makes, and a forbidden point is reported, not refused.
  if (colour == kBlack) {
    const Verdict verdict = JudgeBlackMove(engine_.position.board, p);
    if (verdict == Verdict::kFive) host_.ShowMessage(kBlackWon);
    if (IsForbidden(verdict)) host_.ShowMessage(kKinjite);
    return verdict == Verdict::kFive;
  }
  const bool win = MakesFive(engine_.position, colour, p);
  if (win) host_.ShowMessage(kWhiteWon);
  return win;
}

void Game::ComputerReply(int colour) {
  // 0. A full board, or one where a computer Black may play nowhere, leaves nothing to search.
  if (!HasPlayablePoint(engine_)) {
    host_.ShowStatus(engine_.moveCount == kMaxMoves ? "The board is full"
                                                    : "Black has no point left to play");
    return;
  }

  // 1. The point: the strong engine's at a level that plays it, else the one-ply choice at level
  // 0 or less, the threat search otherwise.
  std::optional<Point> point;
  if (strongEngine_) {
    trace_.clear();  // the strong engine keeps no trace
    engine_.traceCount = 0;
    host_.ShowStatus(kThinking);
    point = StrongReply(colour, thinkingTime_);
    host_.ShowStatus(kReady);
  } else if (engine_.settings.searchLevel <= 0) {
    point = ChooseMove().point;
    searchResult_.value = 0;
  } else {
    trace_.clear();
    host_.ShowStatus(kThinking);
    const Thought thought = thinkingTime_.count() > 0
                                ? ThinkWithin({thinkingTime_, thinkingTime_}, kFirstDeepeningLevel,
                                              engine_.settings.searchLevel)
                                : Think();
    host_.ShowStatus(kReady);
    if (thought.stopped) {
      // Stopped before any level ended (the window is closing): the one-ply choice plays.
      point = ChooseMove().point;
      searchResult_ = SearchResult{};
    } else if (thought.result) {
      searchResult_ = *thought.result;
      point = thought.result->point();
    }
  }
  // The search answers a lost position with the first point it met, which may be a stone (its
  // best answer starts at (0, 0)). Playing it would corrupt the game: the one-ply choice plays.
  if (point && (!OnBoard(*point) || engine_.position.board[point->row][point->col] > 0)) {
    point = ChooseMove().point;
  }
  if (!point) {
    host_.ShowStatus("No point left to play");
    return;
  }

  // 2 to 4. The messages, and the stone.
  const Point p = *point;
  AnnounceStone(colour, p);
  PlaceStone(p, colour);
  // 5. A proven win for the computer's colour marks its stone.
  const int win = colour == kBlack ? 3 : -3;
  statusMark_ = searchResult_.value == win ? '+' : ' ';
  // 6. The picture.
  host_.Repaint();
}

std::optional<Point> Game::Hint() {
  if (thinking_) return std::nullopt;
  const Busy busy(thinking_);
  stopRequested_ = false;
  if (!HasPlayablePoint(engine_)) {
    host_.ShowStatus("No point left to play");
    return std::nullopt;
  }
  host_.ShowStatus(kThinking);
  const SearchResult reply = searchResult_;  // the last reply's, which a hint does not replace
  hint_ = StrongReply(SideToMove(), advancedTime_);
  searchResult_ = reply;
  const Point p = hint_.value_or(kNoPoint);
  host_.ShowStatus(hint_ ? "Hint: " + FormatMoves(std::span(&p, 1)) : "No point left to play");
  host_.Repaint();
  return hint_;
}

std::optional<Point> Game::StrongReply(int colour, std::chrono::milliseconds time) {
  if (!searcher_) searcher_ = std::make_unique<ab::Searcher>();
  searchResult_ = SearchResult{};
  // The search hands pending window messages on as the threat search does; a stop asked from one
  // of them (the window closing) ends it at once.
  std::atomic<bool> stop = false;
  searcher_->SetPollHook([this, &stop] {
    host_.PumpOneMessage();
    if (stopRequested_) stop = true;
  });
  // A zero time would read as no limit.
  time = std::max(time, std::chrono::milliseconds(1));
  const ab::SearchReport report = searcher_->Search(Moves(), {.time = time, .target = time}, &stop);
  searcher_->SetPollHook({});
  if (stop || report.move == ab::kNoCell) return ChooseMove().point;
  const Point p = ab::PointOf(report.move);
  const bool legal = OnBoard(p) && engine_.position.board[p.row][p.col] <= 0 &&
                     (colour == kWhite || !IsForbidden(JudgeBlackMove(engine_.position.board, p)));
  if (!legal) return ChooseMove().point;
  // A win found reads as the threat search's proven win: 3 for Black, -3 for White.
  const int value = report.score < ab::kWinBound ? 0 : colour == kBlack ? 3 : -3;
  searchResult_ = {p.row, p.col, value, report.depth};
  return p;
}

void Game::OnChar(char ch) {
  if (thinking_ || blackPlayer_ != kMan || whitePlayer_ != kMan || InOpening()) return;
  // The opening's stones stay: a game under a rule is taken back to the opening's end at most.
  if (ch == ' ' && engine_.moveCount > openingStones_ && TakeBack()) host_.Repaint();
  if (ch == 'n' && ReplayNext()) host_.Repaint();
}

void Game::NewGameCommand() {
  if (thinking_) return;
  NewGame();
  host_.Repaint();
  RunOpening();
}

void Game::SetPlayers(char black, char white) {
  if (thinking_) return;
  blackPlayer_ = black == kComputer ? kComputer : kMan;
  whitePlayer_ = white == kComputer ? kComputer : kMan;
  NewGameCommand();
}

bool Game::SetSettings(const SearchSettings& settings) {
  if (thinking_ || !settings.WithinDepthBound()) return false;
  engine_.settings = settings;
  return true;
}

bool Game::SelectLevel(int levelIndex) {
  if (thinking_ || levelIndex < 0 || levelIndex >= static_cast<int>(kLevelItems.size())) {
    return false;
  }
  const LevelItem& item = kLevelItems[levelIndex];
  SearchSettings settings = engine_.settings;
  settings.searchLevel = item.searchLevel;
  if (!SetSettings(settings)) return false;
  levelIndex_ = levelIndex;
  thinkingTime_ = item.strong ? advancedTime_ : item.thinkingTime;
  strongEngine_ = item.strong;
  return true;
}

bool Game::SetAdvancedTime(std::chrono::milliseconds time) {
  if (thinking_ || time.count() <= 0) return false;
  advancedTime_ = time;
  if (strongEngine_) thinkingTime_ = time;
  return true;
}

bool Game::SetThinkingTime(std::chrono::milliseconds time) {
  if (thinking_) return false;
  thinkingTime_ = time;
  return true;
}

bool Game::SetTraceSwitch(bool on) {
  if (thinking_) return false;
  traceSwitch_ = on;
  return true;
}

bool Game::SetDisplayMode(int mode) {
  if (thinking_) return false;
  displayMode_ = mode == 1 ? 1 : 0;
  host_.Repaint();
  return true;
}

// --- Files.

std::optional<std::string> Game::WriteRecord() {
  if (recordPath_.empty()) return {};  // a game without a record file
  if (const std::error_code error = SaveRecord(recordPath_, Moves())) {
    return "Cannot save " + recordPath_.filename().string() + ": " + error.message();
  }
  // The opening's steps go beside the record; a free game leaves no log of an earlier game there.
  const std::filesystem::path logPath = OpeningLogPath(recordPath_);
  std::error_code error;
  if (!opening_) {
    std::filesystem::remove(logPath, error);
  } else if ((error = SaveOpeningLog(logPath, opening_->Log()))) {
    return "Cannot save " + logPath.filename().string() + ": " + error.message();
  }
  return {};
}

void Game::AutosaveRecord() {
  if (engine_.moveCount % kAutosaveInterval != 0) return;
  if (const auto failure = WriteRecord()) host_.ShowStatus(*failure);
}

void Game::SaveRecordCommand() {
  if (thinking_) return;
  if (const auto failure = WriteRecord()) host_.ShowMessage(*failure);
}

void Game::LoadRecordCommand() {
  if (thinking_) return;
  const RecordLoad load = LoadRecord(recordPath_);
  LoadFrom(load, recordPath_, false);
  if (!IsFileError(load.stop)) RestoreOpening();
}

void Game::OpenPsqCommand() {
  if (thinking_) return;
  const std::optional<std::filesystem::path> path = host_.AskOpenPath(kPsqExtension);
  if (!path) return;
  const std::string cannot = "Cannot load " + path->filename().string() + ": ";
  std::string text;
  if (const auto refused = ReadTextFile(*path, kRecordSizeLimit, text)) {
    return host_.ShowStatus(cannot + DescribeLoad(*refused));
  }
  const MovesText psq = ParsePsq(text);
  if (psq.error) return host_.ShowStatus(cannot + *psq.error);
  LoadMoves(psq.moves);
  host_.Repaint();
}

void Game::SavePsqCommand() {
  if (thinking_) return;
  const std::optional<std::filesystem::path> path = host_.AskSavePath(kPsqExtension);
  if (!path) return;
  if (const std::error_code error = WriteFileAtomically(*path, FormatPsq(Moves()))) {
    host_.ShowMessage("Cannot save " + path->filename().string() + ": " + error.message());
  }
}

void Game::SaveTraceCommand(bool shortTrace) {
  if (thinking_) return;
  const std::optional<std::filesystem::path> path = host_.AskSavePath(kTraceExtension);
  if (!path) return;
  const std::span<const TraceEntry> entries =
      traceSwitch_ ? std::span<const TraceEntry>(trace_) : std::span<const TraceEntry>();
  if (const std::error_code error = SaveTrace(*path, Moves(), entries, shortTrace)) {
    host_.ShowStatus("Cannot save " + path->filename().string() + ": " + error.message());
  }
}

void Game::LoadTraceCommand() {
  if (thinking_) return;
  const std::optional<std::filesystem::path> path = host_.AskOpenPath(kTraceExtension);
  if (!path) return;
  LoadFrom(LoadTrace(*path), *path, true);
}

void Game::LoadFrom(const RecordLoad& load, const std::filesystem::path& path, bool keepLast) {
  const std::string name = path.filename().string();
  if (IsFileError(load.stop)) {
    // The game on the board stays: a file that cannot be read replaces nothing.
    host_.ShowStatus("Cannot load " + name + ": " + DescribeLoad(load));
    return;
  }
  // A trace file's last move stays in the move list, unplayed, for 'n'.
  const size_t placed = keepLast && !load.moves.empty() ? load.moves.size() - 1 : load.moves.size();
  LoadMoves(std::span(load.moves).first(placed));
  if (placed < load.moves.size()) {
    engine_.moveList[engine_.moveCount + 1] = load.moves.back();
    if (line_.size() == placed) line_.push_back(load.moves.back());
  }
  if (load.stop != RecordStop::kEnd) host_.ShowStatus(name + ": " + DescribeLoad(load));
  host_.Repaint();
}

// --- The search's hooks.

void Game::PumpOneMessage() {
  host_.PumpOneMessage();
}

void Game::RecordTrace(int index, int ply, int row, int col, int value) {
  // A move's index is taken when the move is tried and handed over when its search returns, so
  // entries arrive out of order: each goes to its own index.
  const auto at = static_cast<std::size_t>(index);
  if (!traceSwitch_ || index < 0 || at >= kTraceCapacity) return;
  if (at >= trace_.size()) trace_.resize(at + 1);
  trace_[at] = {static_cast<std::uint8_t>(ply), static_cast<std::uint8_t>(row),
                static_cast<std::uint8_t>(col), static_cast<std::int8_t>(value)};
}

bool Game::StopRequested() {
  return stopRequested_ || (stopFlag_ != nullptr && stopFlag_->load(std::memory_order_relaxed)) ||
         (deadline_ && std::chrono::steady_clock::now() >= *deadline_);
}

std::vector<Point> Game::WinningFive() const {
  if (engine_.moveCount == 0) return {};
  const Point last = engine_.moveList[engine_.moveCount];
  const auto& board = engine_.position.board;
  const int colour = board[last.row][last.col];
  const auto same = [&](Point p) { return OnBoard(p) && board[p.row][p.col] == colour; };
  for (int d = 0; d < kDirections; ++d) {
    const Point step{kRowStep[d], kColStep[d]};
    Point first = last;
    while (same({first.row - step.row, first.col - step.col}))
      first = {first.row - step.row, first.col - step.col};
    std::vector<Point> line;
    for (Point p = first; same(p); p = {p.row + step.row, p.col + step.col})
      line.push_back(p);
    if (line.size() == 5 || (line.size() > 5 && colour == kWhite)) return line;
  }
  return {};
}

std::optional<std::string> Game::BrokenInvariant() const {
  Position replay;
  for (int k = 1; k <= engine_.moveCount; ++k) {
    const Point p = engine_.moveList[k];
    if (!OnBoard(p)) return "move " + std::to_string(k) + " lies off the board";
    if (replay.board[p.row][p.col] > 0) return "move " + std::to_string(k) + " is on a stone";
    UpdatePatterns(replay, p.row, p.col, StoneColour(k, 1));
  }
  const Position& pos = engine_.position;
  for (int r = 0; r < kBoardSize; ++r) {
    for (int c = 0; c < kBoardSize; ++c) {
      const std::string at = " at " + std::to_string(r) + "," + std::to_string(c);
      if (pos.board[r][c] != replay.board[r][c]) {
        return "board value " + std::to_string(pos.board[r][c]) + at + ", a replay gives " +
               std::to_string(replay.board[r][c]);
      }
      for (int slot = 0; slot <= kThreatCountSlot; ++slot) {
        // A diagonal too short for a five reads base until a stone's update writes blocked
        // there, and keeps blocked when the stone is taken back: either says no five.
        if (slot >= 2 && slot < kDirections && ShortDiagonal(r, c, slot)) continue;
        if (pos.Entry(kBlack, r, c)[slot] != replay.Entry(kBlack, r, c)[slot]) {
          return "Black's codes differ" + at;
        }
        if (pos.Entry(kWhite, r, c)[slot] != replay.Entry(kWhite, r, c)[slot]) {
          return "White's codes differ" + at;
        }
      }
    }
  }
  if (pos.blackLines != replay.blackLines || pos.whiteLines != replay.whiteLines ||
      pos.threatLines != replay.threatLines) {
    return "the line masks differ from a replay's";
  }
  if (pos.blackThreatMasks != replay.blackThreatMasks ||
      pos.whiteThreatMasks != replay.whiteThreatMasks) {
    return "the threat masks differ from a replay's";
  }
  return std::nullopt;
}

}  // namespace zel
