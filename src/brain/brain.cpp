#include "brain/brain.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

#include "patterns/line_codes.h"
#include "rules/renju_rules.h"

namespace zel {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::string_view kAbout =
    "name=\"pbrain-zel\", version=\"1.0\", author=\"the Kelvo developers\", country=\"unknown\"";

std::string_view Trim(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && space(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && space(text.back()))
    text.remove_suffix(1);
  return text;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// Input quoted back in an answer: printable characters only, and not too many of them.
std::string Quote(std::string_view text) {
  constexpr std::size_t kMaxQuote = 40;
  std::string quoted;
  for (const char c : text.substr(0, kMaxQuote)) {
    const auto u = static_cast<unsigned char>(c);
    quoted += u >= 0x20 && u < 0x7f ? c : '?';
  }
  if (text.size() > kMaxQuote) quoted += "...";
  return quoted;
}

std::optional<std::int64_t> ParseInt(std::string_view text) {
  text = Trim(text);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  return value;
}

// "x,y" and the fields after it, separated by commas.
std::optional<std::vector<std::int64_t>> ParseFields(std::string_view text, std::size_t count) {
  std::vector<std::int64_t> fields;
  while (fields.size() < count) {
    const std::size_t comma = text.find(',');
    const auto value = ParseInt(text.substr(0, comma));
    if (!value) return {};
    fields.push_back(*value);
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
    if (fields.size() == count) return {};  // more fields than expected
  }
  if (fields.size() != count) return {};
  return fields;
}

// The point of fields x and y, or nothing when it lies off the board.
std::optional<Point> PointOf(std::int64_t x, std::int64_t y) {
  if (x < 0 || y < 0 || x >= kBoardSize || y >= kBoardSize) return {};
  return Point{static_cast<int>(y), static_cast<int>(x)};
}

std::string Format(Point p) {
  return std::to_string(p.col) + "," + std::to_string(p.row);
}

std::string Format(ab::Cell cell) {
  return Format(ab::PointOf(cell));
}

// A score as the analysis boards show it: the evaluation, or +Mn (-Mn) for a win (loss) in n
// moves of the winner, +M (-M) for one proven at an unknown distance.
std::string ScoreText(int score) {
  if (!ab::IsDecisive(score)) return std::to_string(score);
  const int plies = ab::PliesToFive(score);
  const std::string sign = score > 0 ? "+M" : "-M";
  if (plies == 0) return sign;
  return sign + std::to_string(score > 0 ? (plies + 1) / 2 : plies / 2);
}

std::string PvText(const std::vector<ab::Cell>& pv) {
  std::string text;
  for (const ab::Cell cell : pv) {
    if (!text.empty()) text += ' ';
    text += Format(cell);
  }
  return text;
}

// Live lines while thinking come at most this often.
constexpr milliseconds kLiveInterval{250};

}  // namespace

std::string CommandOf(std::string_view line) {
  line = Trim(line);
  return Upper(line.substr(0, line.find_first_of(" \t")));
}

bool ReadProtocolLine(std::istream& in, std::string& line) {
  line.clear();
  bool any = false;
  for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
    any = true;
    if (c == '\n') return true;
    if (line.size() < kMaxLineLength) line += static_cast<char>(c);
  }
  return any;
}

void LineWriter::Write(std::string_view line) {
  const std::lock_guard lock(mutex_);
  if (closed_) return;
  out_ << line << '\n';
  out_.flush();
}

void LineWriter::Close() {
  const std::lock_guard lock(mutex_);
  closed_ = true;
}

Brain::Brain(std::ostream& out, BrainOptions options)
    : out_(out),
      options_(options),
      game_(host_, std::filesystem::path()),
      searcher_(0),
      hashBytes_(kDefaultHashBytes) {
  if (options_.seed) game_.SeedRandom(*options_.seed);
  game_.SetStopFlag(&stop_);
}

bool Brain::HandleLine(std::string_view rawLine, Clock::time_point received) {
  // A move's time runs from the arrival of the command that asks for it: setting up a board
  // counts against it.
  received_ = received;
  const std::string_view line = Trim(rawLine);
  const std::string command = CommandOf(line);
  const std::size_t space = line.find_first_of(" \t");
  const std::string_view args =
      space == std::string_view::npos ? std::string_view() : Trim(line.substr(space));

  if (command == "END") return false;
  if (readingBoard_) {
    if (command == "DONE") {
      BoardDone();
    } else {
      BoardLine(line);
    }
    return true;
  }
  // Nothing asked, nothing answered; a stop that found no search has nothing to stop.
  if (line.empty() || command == "STOP" || command == "YXSTOP") return true;

  if (command == "START") {
    Start(args);
  } else if (command == "RECTSTART") {
    Answer("ERROR pbrain-zel plays on a square board of size 15 only");
  } else if (command == "RESTART") {
    game_.NewGame();
    Answer("OK");
  } else if (command == "BEGIN") {
    MoveNow();
  } else if (command == "TURN") {
    Turn(args);
  } else if (command == "BOARD" || command == "YXBOARD") {
    readingBoard_ = true;
    boardMoves_ = command == "BOARD";
    boardStones_.clear();
  } else if (command == "TAKEBACK") {
    TakeBackCommand(args);
  } else if (command == "ABOUT") {
    Answer(kAbout);
  } else if (command == "INFO") {
    Info(args);
  } else if (command == "YXSHOWFORBID") {
    ShowForbidden();
  } else if (command == "YXNBEST") {
    BestMoves(args);
  } else if (command == "YXSHOWINFO") {
    // The board reads how many threads it may offer; the live lines start.
    liveLines_ = true;
    Answer("MESSAGE INFO MAX_THREAD_NUM 1");
  } else if (command == "YXHASHCLEAR") {
    searcher_.ClearHash();
  } else {
    Answer("ERROR unknown command: " + Quote(line));
  }
  return true;
}

void Brain::Start(std::string_view args) {
  const auto size = ParseInt(args);
  if (!size) {
    Answer("ERROR START needs a board size: " + Quote(args));
  } else if (*size != kBoardSize) {
    Answer("ERROR unsupported board size " + Quote(args) + ": pbrain-zel plays on 15 x 15 only");
  } else {
    game_.NewGame();
    Answer("OK");
  }
}

void Brain::Turn(std::string_view args) {
  const auto fields = ParseFields(args, 2);
  if (!fields) return Answer("ERROR TURN needs x,y: " + Quote(args));
  const auto p = PointOf((*fields)[0], (*fields)[1]);
  if (!p) return Answer("ERROR move off the board: " + Quote(args));
  if (game_.Play(*p) != PlayResult::kPlayed) {
    return Answer("ERROR move onto a stone: " + Quote(args));
  }
  MoveNow();
}

void Brain::TakeBackCommand(std::string_view args) {
  const auto fields = ParseFields(args, 2);
  if (!fields) return Answer("ERROR TAKEBACK needs x,y: " + Quote(args));
  const auto p = PointOf((*fields)[0], (*fields)[1]);
  if (!p || game_.moveCount() == 0 || game_.Move(game_.moveCount()) != *p) {
    return Answer("ERROR not the last move: " + Quote(args));
  }
  game_.TakeBack();
  Answer("OK");
}

void Brain::Info(std::string_view args) {
  const std::size_t space = args.find_first_of(" \t");
  const std::string key = Upper(args.substr(0, space));
  const std::string_view value =
      space == std::string_view::npos ? std::string_view() : Trim(args.substr(space));
  if (key == "FOLDER") return;  // the engine keeps no files
  if (key != "TIMEOUT_TURN" && key != "TIMEOUT_MATCH" && key != "TIME_LEFT" &&
      key != "MAX_MEMORY" && key != "RULE" && key != "GAME_TYPE" && key != "SHOW_DETAIL") {
    return;  // keys of other engines and newer managers
  }
  const auto number = ParseInt(value);
  if (!number) return Answer("ERROR INFO " + Quote(key) + " needs a number: " + Quote(value));
  if (key == "TIMEOUT_TURN") {
    limits_.turn = std::clamp<std::int64_t>(*number, 0, kLongestTime);
  } else if (key == "TIMEOUT_MATCH") {
    limits_.match = std::clamp<std::int64_t>(*number, 0, kLongestTime);
  } else if (key == "TIME_LEFT") {
    limits_.left = std::clamp<std::int64_t>(*number, 0, kLongestTime);
  } else if (key == "MAX_MEMORY") {
    // Sized now, not in a move's time; the same size again keeps what the table has learnt.
    hashBytes_ = HashBytesFor(*number);
    if (options_.Strong()) SizeHashTable();
  } else if (key == "RULE" && *number != 4 && *number != 2) {
    // Gomocup managers say Renju with 4, the analysis boards with 2.
    Answer(
        "MESSAGE pbrain-zel plays Renju rules only (rule 4, or 2 on analysis boards); playing "
        "on under them");
  } else if (key == "SHOW_DETAIL") {
    liveLines_ = *number > 0;
  }
  // game_type changes nothing.
}

void Brain::BoardLine(std::string_view line) {
  const auto fields = ParseFields(line, 3);
  if (!fields) return Answer("ERROR BOARD needs x,y,who lines or DONE: " + Quote(line));
  const auto p = PointOf((*fields)[0], (*fields)[1]);
  const std::int64_t who = (*fields)[2];
  if (!p) return Answer("ERROR stone off the board: " + Quote(line));
  if (who < 1 || who > 3) return Answer("ERROR who must be 1, 2 or 3: " + Quote(line));
  for (const BoardStone& stone : boardStones_) {
    if (stone.point == *p) return Answer("ERROR two stones on one point: " + Quote(line));
  }
  boardStones_.push_back({*p, static_cast<int>(who)});
}

void Brain::BoardDone() {
  readingBoard_ = false;
  std::vector<Point> own;
  std::vector<Point> opponent;
  for (const BoardStone& stone : boardStones_) {
    // A stone of a continuous game stays on the board; the opponent's colour keeps it there.
    (stone.who == 1 ? own : opponent).push_back(stone.point);
  }
  if (std::any_of(boardStones_.begin(), boardStones_.end(),
                  [](const BoardStone& s) { return s.who == 3; })) {
    Answer("MESSAGE stones of a continuous game are taken as the opponent's");
  }
  boardStones_.clear();
  // The side to move is Black when both colours have as many stones.
  const bool ownBlack = own.size() == opponent.size();
  if (!ownBlack && opponent.size() != own.size() + 1) {
    return Answer(
        "ERROR the stone counts do not fit alternate moves: " + std::to_string(own.size()) +
        " own, " + std::to_string(opponent.size()) + " opponent's");
  }
  const std::vector<Point>& black = ownBlack ? own : opponent;
  const std::vector<Point>& white = ownBlack ? opponent : own;
  std::vector<Point> moves;
  for (std::size_t k = 0; k < black.size(); ++k) {
    moves.push_back(black[k]);
    if (k < white.size()) moves.push_back(white[k]);
  }
  game_.LoadMoves(moves);
  if (boardMoves_) MoveNow();
}

void Brain::MoveNow() {
  const auto move = FindMove();
  if (!move) return Answer("ERROR no legal point is left to play");
  if (game_.Play(*move) != PlayResult::kPlayed) {
    return Answer("ERROR the engine's move was refused: " + Format(*move));
  }
  Answer(Format(*move));
}

void Brain::SizeHashTable() {
  if (tableBytes_ == hashBytes_) return;
  // The old table goes first, so that the two are never held at once.
  searcher_.SetHashBytes(0);
  searcher_.SetHashBytes(hashBytes_);
  tableBytes_ = hashBytes_;
}

bool Brain::Legal(Point p) const {
  if (!OnBoard(p) || game_.position().board[p.row][p.col] > 0) return false;
  return game_.SideToMove() == kWhite || !IsForbidden(JudgeBlackMove(game_.position().board, p));
}

std::optional<Point> Brain::FiveOnOffer() const {
  const int colour = game_.SideToMove();
  const Position& pos = game_.position();
  for (int row = 0; row < kBoardSize; ++row) {
    for (int col = 0; col < kBoardSize; ++col) {
      if (pos.board[row][col] > 0) continue;
      const PatternEntry codes = pos.Entry(colour, row, col);
      if (std::find(codes.begin(), codes.begin() + kDirections, kFive) ==
          codes.begin() + kDirections) {
        continue;
      }
      if (colour == kWhite || JudgeBlackMove(pos.board, {row, col}) == Verdict::kFive) {
        return Point{row, col};
      }
    }
  }
  return {};
}

std::optional<Point> Brain::BestScoredLegal() {
  const ScoreTable& scores = game_.scoreTable();
  std::optional<Point> best;
  for (int row = 0; row < kBoardSize; ++row) {
    for (int col = 0; col < kBoardSize; ++col) {
      if (!Legal({row, col})) continue;
      if (!best || scores[row][col] > scores[best->row][best->col]) best = Point{row, col};
    }
  }
  return best;
}

MoveBudget Brain::Remaining(milliseconds least) const {
  const MoveBudget budget =
      BudgetFor(limits_, game_.moveCount(), TensionOf(game_.position(), game_.SideToMove()));
  const auto spent = std::chrono::duration_cast<milliseconds>(Clock::now() - received_);
  return {std::max(budget.hard - spent, least), std::max(budget.soft - spent, least)};
}

ab::SearchReport Brain::StrongSearch(const MoveBudget& budget) {
  return searcher_.Search(game_.Moves(), {.time = budget.hard, .target = budget.soft}, &stop_,
                          [this](const ab::SearchReport& r) { ReportIteration(r); });
}

void Brain::ReportIteration(const ab::SearchReport& r) {
  const auto ms = static_cast<std::int64_t>(r.milliseconds);
  if (options_.reportLevels) {
    Answer("DEBUG depth " + std::to_string(r.depth) + ": score " + std::to_string(r.score) +
           ", nodes " + std::to_string(r.nodes) + ", ms " + std::to_string(ms));
  }
  const auto now = Clock::now();
  if (!liveLines_ || (lastLiveLine_ && now - *lastLiveLine_ < kLiveInterval)) return;
  const bool first = !lastLiveLine_;
  lastLiveLine_ = now;
  // The analysis boards mark the best point from REALTIME BEST; the other line is for the reader.
  if (first || r.move != lastLiveBest_) Answer("MESSAGE REALTIME BEST " + Format(r.move));
  lastLiveBest_ = r.move;
  const std::int64_t speed = r.nodes * 1000 / std::max<std::int64_t>(ms, 1);
  Answer("MESSAGE depth " + std::to_string(r.depth) + " score " + ScoreText(r.score) + " nodes " +
         std::to_string(r.nodes) + " speed " + std::to_string(speed) + " time " +
         std::to_string(ms) + " pv " + PvText(r.pv));
}

std::optional<Point> Brain::FindMove() {
  // 1. Black opens on the centre, as in the game; a five on offer ends the game at once.
  if (game_.moveCount() == 0) return Point{kBoardSize / 2, kBoardSize / 2};
  if (const auto five = FiveOnOffer()) return five;

  // 2. The one-ply choice: the threat search's answer when none of its levels completes, and the
  // score table that an illegal point falls back on.
  const MoveChoice choice = game_.ChooseMove();
  std::optional<Point> move = choice.point;

  // 3. The search within the budget, less the time spent so far. The strong engine answers even
  // with no time left (its limits read 0 as none, so it gets a millisecond). The threat search
  // deepens while the next level is expected to fit (or runs its fixed level alone); its last
  // completed level's point stands. With the match clock nearly out, neither searches: a search
  // takes some milliseconds however short its limit, the one-ply choice a fraction of one.
  const bool matchClock = limits_.left || limits_.match > 0;
  const bool search = !matchClock || Remaining(milliseconds(0)).hard >= kLeastSearch;
  if (search && options_.Strong()) {
    SizeHashTable();  // the first search makes the table
    lastLiveLine_.reset();
    const ab::SearchReport report = StrongSearch(Remaining(milliseconds(1)));
    if (report.move != ab::kNoCell) move = ab::PointOf(report.move);
  } else if (search) {
    const int first = options_.level.value_or(kFirstDeepeningLevel);
    const int last = options_.level.value_or(options_.maxLevel.value_or(kMaxSearchLevel));
    const Thought thought =
        game_.ThinkWithin(Remaining(milliseconds(0)), first, last, [&](const LevelReport& report) {
          if (!options_.reportLevels) return;
          Answer("DEBUG level " + std::to_string(report.level) + ": nodes " +
                 std::to_string(report.nodes) + ", ms " +
                 std::to_string(static_cast<std::int64_t>(report.milliseconds)) +
                 (report.stopped ? ", stopped" : ""));
        });
    if (!thought.stopped && thought.result) move = thought.result->point();
  }

  // 4. Never an illegal point: the best-scored legal one instead.
  if (move && Legal(*move)) return move;
  const auto legal = BestScoredLegal();
  if (move && legal) {
    Answer("DEBUG " + Format(*move) + " is not legal; playing " + Format(*legal) + " instead");
  }
  return legal;
}

void Brain::ShowForbidden() {
  // Each point as four digits, the column then the row, as the analysis boards read them.
  std::string line = "FORBID ";
  if (game_.SideToMove() == kBlack) {
    const VerdictTable verdicts = JudgeBoard(game_.position().board);
    for (int row = 0; row < kBoardSize; ++row) {
      for (int col = 0; col < kBoardSize; ++col) {
        if (!IsForbidden(verdicts[row][col])) continue;
        line += static_cast<char>('0' + col / 10);
        line += static_cast<char>('0' + col % 10);
        line += static_cast<char>('0' + row / 10);
        line += static_cast<char>('0' + row % 10);
      }
    }
  }
  Answer(line + ".");
}

void Brain::BestMoves(std::string_view args) {
  const auto count = ParseInt(args);
  if (!count || *count < 1) return Answer("ERROR YXNBEST needs a number of moves: " + Quote(args));
  // The threat search knows one best move only; a full board none.
  if (!options_.Strong() || game_.moveCount() >= ab::kCells) return MoveNow();

  // One search per move, each leaving out the moves found before it and taking an equal part of
  // what is left of the budget; a stop ends the list.
  SizeHashTable();
  lastLiveLine_.reset();
  const MoveBudget whole = Remaining(milliseconds(1));
  const auto start = Clock::now();
  const int wanted = static_cast<int>(std::min<std::int64_t>(*count, ab::kCells));
  ab::CellSet found;
  std::optional<Point> best;
  for (int k = 0; k < wanted && (k == 0 || !stop_.load(std::memory_order_relaxed)); ++k) {
    const auto spent = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
    const auto part = [&](milliseconds limit) {
      return std::max((limit - spent) / (wanted - k), milliseconds(1));
    };
    searcher_.ExcludeRootMoves(found);
    const ab::SearchReport report = StrongSearch({part(whole.hard), part(whole.soft)});
    if (report.move == ab::kNoCell || !Legal(ab::PointOf(report.move))) break;
    found.Add(report.move);
    if (!best) best = ab::PointOf(report.move);
    Answer("MESSAGE nbest " + std::to_string(k + 1) + " " + Format(report.move) + " score " +
           ScoreText(report.score) + " depth " + std::to_string(report.depth) + " pv " +
           PvText(report.pv));
  }
  if (!best) return MoveNow();
  if (game_.Play(*best) != PlayResult::kPlayed) {
    return Answer("ERROR the engine's move was refused: " + Format(*best));
  }
  Answer(Format(*best));
}

}  // namespace zel
