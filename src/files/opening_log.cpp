#include "files/opening_log.h"

#include <charconv>

#include "files/move_text.h"
#include "files/text_file.h"

namespace zel {
namespace {

// No log is longer than a few hundred bytes; larger files are refused unread.
constexpr long kOpeningLogSizeLimit = 1L << 14;

constexpr std::string_view kRuleWord = "rule";

struct KindWord {
  OpeningStepKind kind;
  std::string_view word;
};
constexpr KindWord kKindWords[] = {
    {OpeningStepKind::kPlace, "place"},     {OpeningStepKind::kSwap, "swap"},
    {OpeningStepKind::kDeclare, "declare"}, {OpeningStepKind::kOffer, "offer"},
    {OpeningStepKind::kChoose, "choose"},
};

// The first word of a line and the rest after the blanks that follow it.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view line) {
  const size_t end = std::min(line.find(' '), line.size());
  std::string_view rest = line.substr(end);
  while (!rest.empty() && rest.front() == ' ')
    rest.remove_prefix(1);
  return {line.substr(0, end), rest};
}

// One step's line, or why it is none.
std::optional<OpeningStep> ParseStep(std::string_view line, std::string& error) {
  const auto [word, rest] = SplitWord(line);
  OpeningStep step;
  for (const KindWord& k : kKindWords) {
    if (k.word == word) step.kind = k.kind;
  }
  switch (step.kind) {
    case OpeningStepKind::kNone:
      error = "\"" + std::string(word) + "\" is not a step of an opening";
      return std::nullopt;
    case OpeningStepKind::kSwap:
      if (rest != "yes" && rest != "no") {
        error = "a swap is \"yes\" or \"no\"";
        return std::nullopt;
      }
      step.number = rest == "yes" ? 1 : 0;
      return step;
    case OpeningStepKind::kDeclare: {
      const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), step.number);
      if (ec != std::errc() || end != rest.data() + rest.size() || step.number < 1) {
        error = "a declaration is a number above 0";
        return std::nullopt;
      }
      return step;
    }
    default: {
      MovesText points = ParseMoves(rest);
      if (points.error) {
        error = *points.error;
        return std::nullopt;
      }
      if (step.kind != OpeningStepKind::kOffer && points.moves.size() != 1) {
        error = "\"" + std::string(word) + "\" takes one point";
        return std::nullopt;
      }
      step.points = std::move(points.moves);
      return step;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string FormatOpeningStep(const OpeningStep& step) {
  for (const KindWord& k : kKindWords) {
    if (k.kind != step.kind) continue;
    std::string line(k.word);
    if (step.kind == OpeningStepKind::kSwap) return line + (step.number != 0 ? " yes" : " no");
    if (step.kind == OpeningStepKind::kDeclare) return line + " " + std::to_string(step.number);
    return line + " " + FormatMoves(step.points);
  }
  return {};
}

std::string FormatOpeningLog(const OpeningLog& log) {
  std::string text = std::string(kRuleWord) + " " + log.rule + "\n";
  for (const OpeningStep& step : log.steps)
    text += FormatOpeningStep(step) + "\n";
  return text;
}

OpeningLogLoad ParseOpeningLog(std::string_view text) {
  OpeningLog log;
  int number = 0;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number;
    if (line.empty()) continue;
    const std::string at = "line " + std::to_string(number) + ": ";
    if (log.rule.empty()) {
      const auto [word, rest] = SplitWord(line);
      if (word != kRuleWord || rest.empty()) return {std::nullopt, at + "no \"rule\" line first"};
      log.rule = rest;
      continue;
    }
    std::string error;
    std::optional<OpeningStep> step = ParseStep(line, error);
    if (!step) return {std::nullopt, at + error};
    log.steps.push_back(std::move(*step));
  }
  if (log.rule.empty()) return {std::nullopt, "the file is empty"};
  return {std::move(log), ""};
}

std::filesystem::path OpeningLogPath(const std::filesystem::path& recordPath) {
  std::filesystem::path path = recordPath;
  return path.replace_extension(".opening" + recordPath.extension().string());
}

std::error_code SaveOpeningLog(const std::filesystem::path& path, const OpeningLog& log) {
  return WriteFileAtomically(path, FormatOpeningLog(log));
}

OpeningLogLoad LoadOpeningLog(const std::filesystem::path& path) {
  std::string text;
  if (const std::optional<RecordLoad> refused = ReadTextFile(path, kOpeningLogSizeLimit, text))
    return {std::nullopt, DescribeLoad(*refused)};
  return ParseOpeningLog(text);
}

}  // namespace zel
