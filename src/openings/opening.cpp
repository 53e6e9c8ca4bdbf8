#include "openings/opening.h"

#include <algorithm>
#include <cstdlib>

#include "files/move_text.h"
#include "openings/symmetry.h"
#include "rules/renju_rules.h"

namespace zel::openings {
namespace {

using Kind = OpeningStepKind;

constexpr int kSoosorvMostOffered = 8;
constexpr int kRifOffered = 2;
constexpr int kTaraguchiOffered = 10;

std::string Notation(Point p) {
  return FormatMoves(std::span<const Point>(&p, 1));
}

std::string Ordinal(int n) {
  static constexpr std::string_view kSuffix[] = {"th", "st", "nd", "rd"};
  return std::to_string(n) + std::string(kSuffix[n < 4 ? n : 0]);
}

std::string AreaText(int area) {
  if (area == 1) return "on the centre (h8)";
  if (area >= kBoardSize) return "anywhere";
  const std::string side = std::to_string(area);
  return "within the central " + side + " x " + side;
}

std::string FifthMoves(int count) {
  return std::to_string(count) + (count == 1 ? " 5th move" : " 5th moves");
}

}  // namespace

Board StonesBoard(std::span<const Point> stones) {
  Board board{};
  for (size_t i = 0; i < stones.size(); ++i)
    board[stones[i].row][stones[i].col] = static_cast<BoardValue>(i % 2 == 0 ? kBlack : kWhite);
  return board;
}

std::string_view RuleName(Rule rule) {
  switch (rule) {
    case Rule::kRif:
      return "rif";
    case Rule::kSoosorv8:
      return "soosorv8";
    case Rule::kTaraguchi10:
      return "taraguchi10";
  }
  return "";
}

std::optional<Rule> RuleFromName(std::string_view name) {
  for (const Rule rule : {Rule::kRif, Rule::kSoosorv8, Rule::kTaraguchi10}) {
    if (RuleName(rule) == name) return rule;
  }
  return std::nullopt;
}

bool WithinArea(Point p, int area) {
  const int reach = area / 2;
  return std::abs(p.row - kCentre.row) <= reach && std::abs(p.col - kCentre.col) <= reach;
}

std::string Describe(const Request& request) {
  if (request.kind == Kind::kNone) return "The opening is over: the game goes on";
  std::string text = std::string(request.colour == kBlack ? "Black" : "White") +
                     (request.player == kFirstPlayer ? " (first player): " : " (second player): ");
  switch (request.kind) {
    case Kind::kPlace:
      text += "place the " + Ordinal(request.stone) + " stone";
      if ((request.stone % 2 == 1) != (request.colour == kBlack))
        text += request.stone % 2 == 1 ? ", a Black one," : ", a White one,";
      text += " " + AreaText(request.area);
      if (request.offerInstead) text += ", or offer " + FifthMoves(request.count) + " anywhere";
      return text;
    case Kind::kSwap:
      return text + "swap colours or keep them";
    case Kind::kDeclare:
      return text + "declare how many 5th moves Black will offer (1 to " +
             std::to_string(request.count) + ")";
    case Kind::kOffer:
      return text + "offer " + FifthMoves(request.count) + ", no two of them symmetrical";
    case Kind::kChoose:
      return text + "choose one of the offered 5th moves";
    case Kind::kNone:
      break;
  }
  return text;
}

Opening::Opening(Rule rule) : rule_(rule) {
  const auto place = [](int colour, int stone, int area, int count = 0) {
    return Phase{Kind::kPlace, colour, stone, area, count};
  };
  const auto swap = [](int colour, int afterStone = 0) {
    return Phase{Kind::kSwap, colour, afterStone};
  };
  if (rule == Rule::kTaraguchi10) {
    phases_ = {place(kBlack, 1, 1),    swap(kWhite),        place(kWhite, 2, 3),
               swap(kBlack),           place(kBlack, 3, 5), swap(kWhite),
               place(kWhite, 4, 7),    swap(kBlack),        place(kBlack, 5, 9, kTaraguchiOffered),
               swap(kWhite, 5),  // only after a placed 5th
               {Kind::kChoose, kWhite}};
  } else {
    // The first player places the opening's three stones, White's too.
    phases_ = {place(kBlack, 1, 1), place(kBlack, 2, 3), place(kBlack, 3, 5), swap(kWhite),
               place(kWhite, 4, kBoardSize)};
    if (rule == Rule::kSoosorv8) {
      phases_.push_back({Kind::kDeclare, kWhite, 0, kBoardSize, kSoosorvMostOffered});
      phases_.push_back(swap(kBlack));
    }
    phases_.push_back({Kind::kOffer, kBlack, 0, kBoardSize, kRifOffered});
    phases_.push_back({Kind::kChoose, kWhite});
  }
  Settle();
}

void Opening::Settle() {
  for (; phase_ < phases_.size(); ++phase_) {
    const Phase& p = phases_[phase_];
    // Taraguchi-10's last swap follows a placed 5th only; a choice follows offered moves only.
    if (p.kind == Kind::kSwap && p.stone > 0 && stones_.size() < static_cast<size_t>(p.stone))
      continue;
    if (p.kind == Kind::kChoose && offered_.empty()) continue;
    break;
  }
  if (phase_ >= phases_.size()) {
    request_ = Request{};
    return;
  }
  const Phase& p = phases_[phase_];
  request_ = Request{p.kind, PlayerOf(p.deciderColour), p.deciderColour, p.stone, p.area, p.count};
  if (p.kind == Kind::kOffer && rule_ == Rule::kSoosorv8) request_.count = declared_;
  if (p.kind == Kind::kSwap) request_.stone = 0;
  request_.offerInstead = p.kind == Kind::kPlace && p.count > 0 && !lastSwap_;
  if (p.kind == Kind::kPlace && !request_.offerInstead) request_.count = 0;
}

std::optional<std::string> Opening::ValidatePlace(Point p) const {
  if (!OnBoard(p)) return "That point is off the board";
  if (std::find(stones_.begin(), stones_.end(), p) != stones_.end())
    return "There is already a stone on " + Notation(p);
  if (!WithinArea(p, request_.area))
    return "The " + Ordinal(request_.stone) + " stone must be " + AreaText(request_.area);
  if (request_.stone % 2 == 1) {
    const Verdict verdict = JudgeBlackMove(StonesBoard(stones_), p);
    if (IsForbidden(verdict))
      return "Black may not play " + Notation(p) + ": " + std::string(VerdictName(verdict));
  }
  return std::nullopt;
}

std::optional<std::string> Opening::ValidateOffer(std::span<const Point> points) const {
  const int count = request_.count;
  if (static_cast<int>(points.size()) != count)
    return "Offer exactly " + FifthMoves(count) + ", not " + std::to_string(points.size());
  const Board board = StonesBoard(stones_);
  const SymmetryGroup group = StonesGroup(stones_);
  for (size_t i = 0; i < points.size(); ++i) {
    const Point p = points[i];
    if (!OnBoard(p)) return "An offered 5th move is off the board";
    if (board[p.row][p.col] != kEmpty) return "There is already a stone on " + Notation(p);
    const Verdict verdict = JudgeBlackMove(board, p);
    if (IsForbidden(verdict))
      return "Black may not play " + Notation(p) + ": " + std::string(VerdictName(verdict));
    for (size_t j = 0; j < i; ++j) {
      if (points[j] == p) return Notation(p) + " is offered twice";
      if (Symmetrical(group, points[j], p))
        return "These two 5th moves are symmetrical: " + Notation(points[j]) + " and " +
               Notation(p);
    }
  }
  return std::nullopt;
}

std::optional<std::string> Opening::Validate(const OpeningStep& step) const {
  if (Done()) return "The opening is over: the game goes on";
  const bool offerInstead = step.kind == Kind::kOffer && request_.offerInstead;
  if (step.kind != request_.kind && !offerInstead)
    return "That is not the next step; now: " + Describe(request_);
  switch (step.kind) {
    case Kind::kPlace:
      if (step.points.size() != 1) return "Place one stone";
      return ValidatePlace(step.points[0]);
    case Kind::kDeclare:
      if (step.number < 1 || step.number > request_.count)
        return "Declare 1 to " + std::to_string(request_.count) + " 5th moves";
      return std::nullopt;
    case Kind::kOffer:
      return ValidateOffer(step.points);
    case Kind::kChoose:
      if (step.points.size() != 1 ||
          std::find(offered_.begin(), offered_.end(), step.points[0]) == offered_.end())
        return "Choose one of the offered 5th moves";
      return std::nullopt;
    case Kind::kSwap:
    case Kind::kNone:
      break;
  }
  return std::nullopt;
}

std::optional<std::string> Opening::Apply(const OpeningStep& step) {
  if (std::optional<std::string> refused = Validate(step)) return refused;
  switch (step.kind) {
    case Kind::kPlace:
      stones_.push_back(step.points[0]);
      break;
    case Kind::kSwap:
      lastSwap_ = step.number != 0;
      if (lastSwap_) blackPlayer_ = 1 - blackPlayer_;
      break;
    case Kind::kDeclare:
      declared_ = step.number;
      break;
    case Kind::kOffer:
      offered_ = step.points;
      break;
    case Kind::kChoose:
      stones_.push_back(step.points[0]);
      offered_.clear();
      break;
    case Kind::kNone:
      break;
  }
  steps_.push_back(step);
  ++phase_;
  Settle();
  return std::nullopt;
}

std::vector<Point> Opening::Choices() const {
  if (request_.kind == Kind::kChoose) return offered_;
  std::vector<Point> points;
  if (request_.kind != Kind::kPlace || request_.area > 7) return points;
  for (int row = 0; row < kBoardSize; ++row) {
    for (int col = 0; col < kBoardSize; ++col) {
      if (!ValidatePlace({row, col})) points.push_back({row, col});
    }
  }
  return points;
}

Opening::Replay Opening::FromLog(const OpeningLog& log) {
  const std::optional<Rule> rule = RuleFromName(log.rule);
  if (!rule) return {std::nullopt, "\"" + log.rule + "\" is not an opening rule"};
  Opening opening(*rule);
  for (size_t i = 0; i < log.steps.size(); ++i) {
    if (std::optional<std::string> refused = opening.Apply(log.steps[i])) {
      return {std::nullopt, "step " + std::to_string(i + 1) + " (" +
                                FormatOpeningStep(log.steps[i]) + "): " + *refused};
    }
  }
  return {std::move(opening), ""};
}

OpeningLog Opening::Log() const {
  return {std::string(RuleName(rule_)), steps_};
}

}  // namespace zel::openings
