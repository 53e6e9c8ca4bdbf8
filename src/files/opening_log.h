// The steps of a tournament opening as they were taken (stones placed, swaps, the declared number
// of 5th moves, the offered 5th moves, the one chosen), kept in a file of their own beside the
// game record. The record keeps the game's moves as it always has, so that any reader of records
// still reads the game; a damaged opening log never touches them.
//
// The log is text, one step a line after a line naming the rule:
//   rule soosorv8
//   place h8
//   swap no
//   declare 3
//   offer j10 g7 i11
//   choose g7
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "patterns/board.h"

namespace zel {

enum class OpeningStepKind {
  kNone,     // nothing: the opening is over
  kPlace,    // a stone on one point
  kSwap,     // the players exchange colours, or keep them
  kDeclare,  // the number of 5th moves to be offered
  kOffer,    // several 5th moves, of which the opponent keeps one
  kChoose,   // the one offered 5th move kept
};

struct OpeningStep {
  OpeningStepKind kind = OpeningStepKind::kNone;
  std::vector<Point> points;  // kPlace and kChoose: one point; kOffer: the points offered
  int number = 0;             // kSwap: 1 for a swap, 0 for none; kDeclare: the number declared

  static OpeningStep Place(Point p) { return {OpeningStepKind::kPlace, {p}, 0}; }
  static OpeningStep Swap(bool swap) { return {OpeningStepKind::kSwap, {}, swap ? 1 : 0}; }
  static OpeningStep Declare(int n) { return {OpeningStepKind::kDeclare, {}, n}; }
  static OpeningStep Offer(std::vector<Point> points) {
    return {OpeningStepKind::kOffer, std::move(points), 0};
  }
  static OpeningStep Choose(Point p) { return {OpeningStepKind::kChoose, {p}, 0}; }
  friend bool operator==(const OpeningStep&, const OpeningStep&) = default;
};

// A step as one line without its end: "place h8", "swap yes", "declare 3", "offer j10 g7",
// "choose g7".
std::string FormatOpeningStep(const OpeningStep& step);

struct OpeningLog {
  std::string rule;  // as written; the opening rules decide whether they know it
  std::vector<OpeningStep> steps;
};

// The log's whole text.
std::string FormatOpeningLog(const OpeningLog& log);

// A log read back, or why the text holds none ("line 3: ...").
struct OpeningLogLoad {
  std::optional<OpeningLog> log;
  std::string error;
};
OpeningLogLoad ParseOpeningLog(std::string_view text);

// The log's file beside a record: "move.txt" has "move.opening.txt".
std::filesystem::path OpeningLogPath(const std::filesystem::path& recordPath);

// Writes the log atomically, as the record is written.
std::error_code SaveOpeningLog(const std::filesystem::path& path, const OpeningLog& log);

// Reads a log file; a missing, unreadable or damaged one gives no log and the reason.
OpeningLogLoad LoadOpeningLog(const std::filesystem::path& path);

}  // namespace zel
