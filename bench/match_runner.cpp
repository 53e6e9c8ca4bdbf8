// zel_match: plays two pbrain engines against each other as a tournament manager would, and
// referees the games under Renju rules with the exact judge.
//
//   zel_match ENGINE_A ENGINE_B [--games N] [--time-per-move MS] [--time-a MS] [--time-b MS]
//             [--time-match MS] [--out DIR] [--openings FILE] [--pause MS]
//
// Each engine is a command line run through /bin/sh. --time-per-move sets both engines' time
// per move; --time-a and --time-b set one engine's. --time-match gives each side a match clock
// for the game, as a tournament manager does: INFO timeout_match at the start, INFO time_left
// before every move, and each move's measured time charged to the clock. Every opening is played
// twice, A taking Black in the first game and White in the second. A forbidden Black move, a
// move off the board or onto a stone, an unreadable answer, a dead engine, a move slower than
// twice the limit plus 200 ms and a clock run out (a flag fall) lose; a five wins (exactly five
// for Black); a full board is a draw. --pause waits that long after an engine's answer before its
// next command (outside its clock), for engines that lose a command sent at once.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "files/record.h"
#include "patterns/board.h"
#include "rules/renju_rules.h"

#ifndef ZEL_OPENINGS_FILE
#define ZEL_OPENINGS_FILE "bench/openings.tsv"
#endif

namespace {

using zel::Point;
using Clock = std::chrono::steady_clock;

struct Opening {
  std::string id;
  std::vector<Point> moves;  // Black first, alternating
};

// "h8" -> row 7, column 7: columns a..o from the left, rows 1..15 from the bottom.
std::optional<Point> ParseNotation(const std::string& text) {
  if (text.size() < 2 || text[0] < 'a' || text[0] > 'o') return std::nullopt;
  const int number = std::atoi(text.c_str() + 1);
  const Point p{zel::kBoardSize - number, text[0] - 'a'};
  if (!zel::OnBoard(p)) return std::nullopt;
  return p;
}

// The openings that fit the 15 x 15 board: lines "id, n_moves, moves_15x15, ...", tab-separated,
// '#' comment lines, '-' where an opening needs a larger board.
std::vector<Opening> LoadOpenings(const std::string& path) {
  std::vector<Opening> openings;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> fields;
    std::stringstream columns(line);
    for (std::string field; std::getline(columns, field, '\t');)
      fields.push_back(field);
    if (fields.size() < 3 || fields[2] == "-") continue;
    Opening opening{fields[0], {}};
    std::stringstream moves(fields[2]);
    bool valid = true;
    for (std::string move; moves >> move;) {
      const auto p = ParseNotation(move);
      if (!p || std::find(opening.moves.begin(), opening.moves.end(), *p) != opening.moves.end()) {
        valid = false;
        break;
      }
      opening.moves.push_back(*p);
    }
    if (valid) openings.push_back(opening);
  }
  return openings;
}

// One engine process, spoken to through pipes on its standard input and output.
class Engine {
 public:
  explicit Engine(std::string command) : command_(std::move(command)) {}
  ~Engine() { Stop(); }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  bool Launch() {
    int toChild[2];
    int fromChild[2];
    if (pipe(toChild) != 0) return false;
    if (pipe(fromChild) != 0) {
      close(toChild[0]);
      close(toChild[1]);
      return false;
    }
    pid_ = fork();
    if (pid_ < 0) return false;
    if (pid_ == 0) {
      dup2(toChild[0], STDIN_FILENO);
      dup2(fromChild[1], STDOUT_FILENO);
      close(toChild[0]);
      close(toChild[1]);
      close(fromChild[0]);
      close(fromChild[1]);
      const std::string shellLine = "exec " + command_;
      execl("/bin/sh", "sh", "-c", shellLine.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    in_ = toChild[1];
    out_ = fromChild[0];
    fcntl(in_, F_SETFD, FD_CLOEXEC);
    fcntl(out_, F_SETFD, FD_CLOEXEC);
    buffer_.clear();
    return true;
  }

  void Stop() {
    if (pid_ <= 0) return;
    Send("END");
    close(in_);
    close(out_);
    // A moment to exit on END, then the hard way.
    for (int i = 0; i < 20 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i)
      usleep(10000);
    if (waitpid(pid_, nullptr, WNOHANG) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }

  bool Send(const std::string& line) {
    const std::string text = line + "\n";
    std::size_t sent = 0;
    while (sent < text.size()) {
      const ssize_t n = write(in_, text.data() + sent, text.size() - sent);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }

  // The next answer line, skipping MESSAGE and DEBUG lines; nothing at the deadline, at the end
  // of the output or on a read error.
  std::optional<std::string> ReadAnswer(Clock::time_point deadline) {
    for (;;) {
      auto line = ReadLine(deadline);
      if (!line) return std::nullopt;
      if (line->rfind("MESSAGE", 0) == 0 || line->rfind("DEBUG", 0) == 0 || line->empty()) continue;
      answeredAt_ = Clock::now();
      return line;
    }
  }

  const std::string& command() const { return command_; }

  // Waits until `pause` has passed since the engine's last answer: some engines lose a command
  // that arrives within a few milliseconds of their answer.
  void PauseAfterAnswer(std::chrono::milliseconds pause) const {
    std::this_thread::sleep_until(answeredAt_ + pause);
  }

 private:
  std::optional<std::string> ReadLine(Clock::time_point deadline) {
    for (;;) {
      const auto end = buffer_.find('\n');
      if (end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
      }
      // Rounded up, so that a timeout is reported only once the deadline has passed.
      const auto left =
          std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return std::nullopt;
      pollfd fd{out_, POLLIN, 0};
      if (poll(&fd, 1, static_cast<int>(left)) <= 0) continue;
      char chunk[4096];
      const ssize_t n = read(out_, chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  std::string command_;
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string buffer_;
  Clock::time_point answeredAt_{};
};

struct MoveTimes {
  double totalMs = 0;
  double slowestMs = 0;
  int moves = 0;
};

struct Settings {
  int games = 0;                      // 0: every opening twice
  int timePerMove[2] = {1000, 1000};  // A's and B's
  int timeMatch = 0;                  // each side's match clock; 0: none
  std::filesystem::path out = "match-games";
  std::string openings = ZEL_OPENINGS_FILE;
  std::chrono::milliseconds pause{0};  // after an engine's answer, before its next command
};

// Whether the stone just placed at p makes five or more in a row of its colour.
bool MakesFive(const zel::Board& board, Point p) {
  const int colour = board[p.row][p.col];
  for (int d = 0; d < zel::kDirections; ++d) {
    int count = 1;
    for (int sign : {1, -1}) {
      int r = p.row + sign * zel::kRowStep[d];
      int c = p.col + sign * zel::kColStep[d];
      while (zel::OnBoard(r, c) && board[r][c] == colour) {
        ++count;
        r += sign * zel::kRowStep[d];
        c += sign * zel::kColStep[d];
      }
    }
    if (count >= 5) return true;
  }
  return false;
}

struct GameResult {
  int winner = 0;  // kBlack, kWhite, or 0 for a draw
  std::string reason;
  std::vector<Point> moves;
  double usedMs[2] = {0, 0};  // Black's and White's thinking time in the game
};

// Sets up a new game on an engine: START the first time, RESTART after, then the limits.
bool NewGame(Engine& engine, bool first, int timePerMove, int timeMatch) {
  if (!engine.Send(first ? "START 15" : "RESTART")) return false;
  const auto answer = engine.ReadAnswer(Clock::now() + std::chrono::seconds(10));
  if (!answer || *answer != "OK") return false;
  return engine.Send("INFO timeout_turn " + std::to_string(timePerMove)) &&
         (timeMatch == 0 || engine.Send("INFO timeout_match " + std::to_string(timeMatch))) &&
         engine.Send("INFO rule 4");
}

// Plays one game from the opening; engines[0] plays Black. `fresh[i]` is set when engine i must
// be relaunched before its next game (it lost on time, answered wrongly or died). With a match
// clock (timeMatch above 0) each side's moves are charged to its own.
GameResult PlayGame(Engine* engines[2], const Opening& opening, const int timePerMove[2],
                    int timeMatch, std::chrono::milliseconds pause, MoveTimes* times[2],
                    bool fresh[2]) {
  GameResult result;
  zel::Board board{};
  for (std::size_t i = 0; i < opening.moves.size(); ++i) {
    const Point p = opening.moves[i];
    board[p.row][p.col] = i % 2 == 0 ? zel::kBlack : zel::kWhite;
    result.moves.push_back(p);
  }
  bool synced[2] = {false, false};
  for (;;) {
    const int colour = result.moves.size() % 2 == 0 ? zel::kBlack : zel::kWhite;
    const int side = colour == zel::kBlack ? 0 : 1;
    const char* name = colour == zel::kBlack ? "Black" : "White";
    Engine& engine = *engines[side];
    const double clockLeft = timeMatch - result.usedMs[side];
    auto limit = std::chrono::milliseconds(2 * timePerMove[side] + 200);
    if (timeMatch > 0) {
      // Rounded up, so that an answer read at the deadline has used the whole clock.
      const auto clock = static_cast<std::int64_t>(std::ceil(clockLeft));
      limit = std::min(limit, std::chrono::milliseconds(clock));
    }
    auto lose = [&](const std::string& why) {
      result.winner = zel::Opponent(colour);
      result.reason = std::string(name) + " " + why;
      fresh[side] = true;
      return result;
    };
    if (result.moves.size() == static_cast<std::size_t>(zel::kBoardSize * zel::kBoardSize)) {
      result.reason = "full board";
      return result;
    }

    // 1. Tell the engine what is left of its clock, and the position: the whole board the first
    // time, then the last move.
    engine.PauseAfterAnswer(pause);
    const auto started = Clock::now();
    bool sent = timeMatch == 0 || engine.Send("INFO time_left " +
                                              std::to_string(static_cast<std::int64_t>(clockLeft)));
    if (!synced[side]) {
      sent = sent && engine.Send("BOARD");
      for (std::size_t i = 0; i < result.moves.size() && sent; ++i) {
        const Point p = result.moves[i];
        const int who = board[p.row][p.col] == colour ? 1 : 2;
        sent = engine.Send(std::to_string(p.col) + "," + std::to_string(p.row) + "," +
                           std::to_string(who));
      }
      sent = sent && engine.Send("DONE");
      synced[side] = true;
    } else {
      const Point last = result.moves.back();
      sent =
          sent && engine.Send("TURN " + std::to_string(last.col) + "," + std::to_string(last.row));
    }
    if (!sent) return lose("engine died");

    // 2. Read and time its answer.
    const auto answer = engine.ReadAnswer(started + limit);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    result.usedMs[side] += ms;
    if (timeMatch > 0 && result.usedMs[side] >= timeMatch) return lose("flag fall");
    if (!answer)
      return lose(ms >= static_cast<double>(limit.count()) ? "over time" : "engine died");
    MoveTimes& t = *times[side];
    t.totalMs += ms;
    t.slowestMs = std::max(t.slowestMs, ms);
    ++t.moves;
    int x = -1;
    int y = -1;
    char tail = 0;
    if (std::sscanf(answer->c_str(), "%d,%d%c", &x, &y, &tail) != 2) {
      return lose("answered \"" + answer->substr(0, 40) + "\"");
    }
    const Point p{y, x};
    if (!zel::OnBoard(p) || board[p.row][p.col] != zel::kEmpty) {
      return lose("played " + *answer + ", off the board or on a stone");
    }

    // 3. Judge it: Black's five is decided before the stone is placed, White's after.
    result.moves.push_back(p);
    if (colour == zel::kBlack) {
      const zel::Verdict verdict = zel::JudgeBlackMove(board, p);
      if (verdict == zel::Verdict::kFive) {
        result.winner = zel::kBlack;
        result.reason = "Black five";
        return result;
      }
      if (zel::IsForbidden(verdict)) {
        result.winner = zel::kWhite;
        result.reason = "Black forbidden " + std::string(zel::VerdictName(verdict));
        return result;
      }
    }
    board[p.row][p.col] = static_cast<zel::BoardValue>(colour);
    if (colour == zel::kWhite && MakesFive(board, p)) {
      result.winner = zel::kWhite;
      result.reason = "White five";
      return result;
    }
  }
}

int Usage() {
  std::fprintf(stderr,
               "usage: zel_match ENGINE_A ENGINE_B [--games N] [--time-per-move MS] [--time-a MS] "
               "[--time-b MS] [--time-match MS] [--out DIR] [--openings FILE] [--pause MS]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> engineCommands;
  Settings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--games" && hasValue) {
      settings.games = std::atoi(argv[++i]);
    } else if (arg == "--time-per-move" && hasValue) {
      settings.timePerMove[0] = settings.timePerMove[1] = std::atoi(argv[++i]);
    } else if (arg == "--time-match" && hasValue) {
      settings.timeMatch = std::atoi(argv[++i]);
    } else if (arg == "--pause" && hasValue) {
      settings.pause = std::chrono::milliseconds(std::max(0, std::atoi(argv[++i])));
    } else if ((arg == "--time-a" || arg == "--time-b") && hasValue) {
      settings.timePerMove[arg == "--time-a" ? 0 : 1] = std::atoi(argv[++i]);
    } else if (arg == "--out" && hasValue) {
      settings.out = argv[++i];
    } else if (arg == "--openings" && hasValue) {
      settings.openings = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      return Usage();
    } else {
      engineCommands.push_back(arg);
    }
  }
  if (engineCommands.size() != 2 || settings.games < 0 || settings.timePerMove[0] < 0 ||
      settings.timePerMove[1] < 0 || settings.timeMatch < 0) {
    return Usage();
  }
  const std::vector<Opening> openings = LoadOpenings(settings.openings);
  if (openings.empty()) {
    std::fprintf(stderr, "zel_match: no 15x15 openings in %s\n", settings.openings.c_str());
    return 1;
  }
  if (settings.games == 0) settings.games = 2 * static_cast<int>(openings.size());
  std::error_code error;
  std::filesystem::create_directories(settings.out, error);
  signal(SIGPIPE, SIG_IGN);

  Engine a(engineCommands[0]);
  Engine b(engineCommands[1]);
  Engine* both[2] = {&a, &b};
  bool started[2] = {false, false};
  bool fresh[2] = {true, true};
  MoveTimes times[2];
  int wins = 0, losses = 0, draws = 0;
  std::vector<double> scores;

  for (int game = 0; game < settings.games; ++game) {
    const Opening& opening = openings[static_cast<std::size_t>(game / 2) % openings.size()];
    const bool aBlack = game % 2 == 0;
    GameResult result;
    // 1. Bring both engines to a new game; one that does not answer loses it.
    int broken = -1;
    for (int i = 0; i < 2 && broken < 0; ++i) {
      if (fresh[i]) {
        both[i]->Stop();
        started[i] = false;
        if (!both[i]->Launch()) broken = i;
        fresh[i] = false;
      }
      if (broken < 0 &&
          !NewGame(*both[i], !started[i], settings.timePerMove[i], settings.timeMatch))
        broken = i;
      started[i] = true;
    }
    if (broken >= 0) {
      fresh[broken] = true;
      const bool brokenBlack = (broken == 0) == aBlack;
      result.winner = brokenBlack ? zel::kWhite : zel::kBlack;
      result.reason = std::string(brokenBlack ? "Black" : "White") + " did not start";
      result.moves = opening.moves;
    } else {
      // 2. Play it, Black first.
      Engine* engines[2] = {aBlack ? &a : &b, aBlack ? &b : &a};
      MoveTimes* gameTimes[2] = {aBlack ? &times[0] : &times[1], aBlack ? &times[1] : &times[0]};
      const int gameTimePerMove[2] = {settings.timePerMove[aBlack ? 0 : 1],
                                      settings.timePerMove[aBlack ? 1 : 0]};
      bool gameFresh[2] = {false, false};
      result = PlayGame(engines, opening, gameTimePerMove, settings.timeMatch, settings.pause,
                        gameTimes, gameFresh);
      fresh[0] = fresh[0] || gameFresh[aBlack ? 0 : 1];
      fresh[1] = fresh[1] || gameFresh[aBlack ? 1 : 0];
    }

    // 3. Score it for A, save the record, report.
    const int aColour = aBlack ? zel::kBlack : zel::kWhite;
    double score = 0.5;
    if (result.winner == 0) {
      ++draws;
    } else if (result.winner == aColour) {
      ++wins;
      score = 1;
    } else {
      ++losses;
      score = 0;
    }
    scores.push_back(score);
    char name[128];
    std::snprintf(name, sizeof name, "game-%03d-%s.txt", game + 1, opening.id.c_str());
    const auto saved = zel::SaveRecord(settings.out / name, result.moves);
    std::printf("game %3d  %-12s  A %s  %3zu moves  %-5s  %s%s", game + 1, opening.id.c_str(),
                aBlack ? "Black" : "White", result.moves.size(),
                score == 1   ? "A"
                : score == 0 ? "B"
                             : "draw",
                result.reason.c_str(), saved ? "  (record not saved)" : "");
    if (settings.timeMatch > 0) {
      std::printf("  (time used: A %.1f s, B %.1f s)", result.usedMs[aBlack ? 0 : 1] / 1000,
                  result.usedMs[aBlack ? 1 : 0] / 1000);
    }
    std::printf("\n");
    std::fflush(stdout);
  }

  // 4. Totals: the score with its 95% margin, the Elo difference, the times.
  const double n = static_cast<double>(scores.size());
  double mean = 0;
  for (double s : scores)
    mean += s / n;
  double variance = 0;
  for (double s : scores)
    variance += (s - mean) * (s - mean) / n;
  const double margin = 1.96 * std::sqrt(variance) / std::sqrt(n);
  const double clamped = std::clamp(mean, 0.001, 0.999);
  const double elo = -400 * std::log10(1 / clamped - 1);
  std::printf("\nA: %s\nB: %s\n", a.command().c_str(), b.command().c_str());
  std::printf("games %d: A wins %d, losses %d, draws %d\n", static_cast<int>(n), wins, losses,
              draws);
  std::printf("score of A %.3f +- %.3f (95%%), Elo difference %+.0f\n", mean, margin, elo);
  for (int i = 0; i < 2; ++i) {
    const MoveTimes& t = times[i];
    std::printf("%c: %d moves, %.1f ms average, %.1f ms slowest\n", i == 0 ? 'A' : 'B', t.moves,
                t.moves > 0 ? t.totalMs / t.moves : 0.0, t.slowestMs);
  }
  std::printf("records in %s\n", settings.out.string().c_str());
  return 0;
}
