#!/usr/bin/env python3
"""Fault injection: does the test suite notice small faults in the engine?

Each fault below is one small change to one source line (a flipped comparison, an off-by-one,
a dropped step). The script copies the working tree to a scratch directory, builds it once
(Release, benchmarks off), checks that the suite passes, then for each fault in turn: applies it,
rebuilds, runs the whole suite, and puts the line back. A fault is caught when some test fails
(or times out). It prints one line per fault and the share caught.

    scripts/inject_faults.py                 # every fault
    scripts/inject_faults.py --list          # the faults, without running anything
    scripts/inject_faults.py --only pump-depth-5 record-bom
    scripts/inject_faults.py --equivalent    # the faults held to change no result: none is caught
    scripts/inject_faults.py --random 60 --seed 7   # 60 faults drawn at random (below)

A fault whose text no longer matches its file exactly once is reported as stale: update it when
the code it targets changes.

--random N draws N faults from every site of four kinds in the engine's folders (RANDOM_FOLDERS):
a comparison flipped (< and <=, > and >=), == and != swapped, + 1 and - 1 swapped, && and ||
swapped. Comments, preprocessor lines and assertions are left alone. A fault after which no object
file differs from the unchanged build's (code that this build leaves out, such as the portable
line path or an assertion's condition) is reported apart and not counted, as is one that does not
build. The survivors are listed with their place, so that each can get the test that catches it.
"""

import argparse
import hashlib
import os
import random
import re
import shutil
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


@dataclass
class Fault:
    name: str
    path: str  # relative to the repository
    old: str   # must occur exactly once in the file
    new: str
    shown: str = ""  # a random fault's changed line, for the list of survivors


FAULTS = [
    # patterns: segment evaluation
    Fault("segment-single-last-cell", "src/patterns/segment.cpp",
          "if (stonePos <= 3) {", "if (stonePos < 3) {"),
    Fault("segment-open-two-distance", "src/patterns/segment.cpp",
          "if (distance == 1 || distance == 2) Raise", "if (distance == 1) Raise"),
    Fault("segment-closed-three-code", "src/patterns/segment.cpp",
          "if ((mask >> (4 - pos) & 1U) == 0) Raise(raise[pos], kClosedThree);",
          "if ((mask >> (4 - pos) & 1U) == 0) Raise(raise[pos], kSingle);"),
    Fault("segment-rule-a-dead-four-dropped", "src/patterns/segment.cpp",
          "if (first) Code(i - 2) = kDeadFour;", ""),
    Fault("segment-rule-b-room-before", "src/patterns/segment.cpp",
          "const bool roomBefore = i >= 4 && !OwnStone(i - 4);",
          "const bool roomBefore = i >= 3 && !OwnStone(i - 4);"),
    Fault("segment-rule-c-ten-cell-dropped", "src/patterns/segment.cpp",
          'if (ten == Mask(".XX.TX.XX.")) Code(i - 1) = kDoubleFourInLine;', ""),
    Fault("segment-five-window-last-step", "src/patterns/segment.cpp",
          "if (i >= 1 && i <= length_ - 5) Windows(i);", "if (i >= 1 && i < length_ - 5) Windows(i);"),
    Fault("segment-memo-colour", "src/patterns/segment.cpp",
          "const size_t entry = (colour == kBlack ? 0 : kPerColour)",
          "const size_t entry = (colour == kBlack ? 0 : 0)"),
    Fault("segment-overline-for-white", "src/patterns/segment.cpp",
          "if (black_) {\n      if (const int pos = kWindowTables.overline[mask]",
          "if (true) {\n      if (const int pos = kWindowTables.overline[mask]"),
    # patterns: update, inventory, near points
    Fault("update-segment-length", "src/patterns/update.cpp",
          "if (length < 5) return LineVector::Zero();", "if (length < 6) return LineVector::Zero();"),
    Fault("update-double-four-in-line-mark", "src/patterns/update.cpp",
          "value = b == kOverline ? kOverlineMark : kForbiddenMark;",
          "value = b == kOverline ? kOverlineMark : value;"),
    Fault("update-diagonal-length", "src/patterns/lines.h",
          "return kBoardSize - (offset < 0 ? -offset : offset);",
          "return kBoardSize - 1 - (offset < 0 ? -offset : offset);"),
    Fault("update-segment-range", "src/patterns/update.cpp",
          "const int last = after != 0 ? std::countr_zero(after) : line.length;",
          "const int last = after != 0 ? std::countr_zero(after) - 1 : line.length;"),
    Fault("update-threat-mask-kept", "src/patterns/update.cpp",
          "threatened ? mask | bit : mask & ~bit", "threatened ? mask | bit : mask"),
    Fault("update-double-three-threshold", "src/patterns/update.cpp",
          "if (fours >= 2 || threes >= 2) value", "if (fours >= 2 || threes > 2) value"),
    Fault("update-threat-count-black-only", "src/patterns/update.cpp",
          "static_cast<PatternValue>(blackThreats + whiteThreats);",
          "static_cast<PatternValue>(blackThreats);"),
    Fault("update-overline-mark", "src/patterns/update.cpp",
          "value = b == kOverline ? kOverlineMark : kForbiddenMark;",
          "value = kForbiddenMark;"),
    Fault("inventory-four-three-keeps-its-four", "src/patterns/threat_inventory.cpp",
          "AppendIfFilled(inventory, kinds, kBlackFourThrees, {r, c, 0});\n      } else {\n"
          "        AppendEach(inventory, kinds, kBlackThrees, threes, r, c);\n",
          "AppendIfFilled(inventory, kinds, kBlackFourThrees, {r, c, 0});\n      }\n      {\n"
          "        AppendEach(inventory, kinds, kBlackThrees, threes, r, c);\n"),
    Fault("inventory-white-combination", "src/patterns/threat_inventory.cpp",
          "if (fourCount >= 1 && fourCount + threeCount >= 2) {",
          "if (fourCount >= 1 && fourCount + threeCount > 2) {"),
    Fault("inventory-black-on-marked-points", "src/patterns/threat_inventory.cpp",
          "if (pos.board[r][c] == kEmpty) {\n      const unsigned threes",
          "if (pos.board[r][c] <= kEmpty) {\n      const unsigned threes"),
    Fault("near-points-reach", "src/patterns/near_points.h",
          "int low = std::max(0, at - (reach - 1));", "int low = std::max(0, at - reach);"),
    Fault("near-points-ray-stop", "src/patterns/near_points.h",
          "const unsigned stopping = pos.Lines(opponent)[dir][place.number];",
          "const unsigned stopping = pos.blackLines[dir][place.number] | pos.whiteLines[dir][place.number];"),
    # threats: answers, carrying, line tests
    Fault("answers-partner-distance-3", "src/threats/answers.cpp",
          "for (const int k : {-1, 1, -2, 2, -3, 3}) {", "for (const int k : {-1, 1, -2, 2}) {"),
    Fault("answers-edge-reach", "src/threats/answers.cpp",
          "if (!line.On(-5) || line.B(-5) == kWhite)", "if (!line.On(-6) || line.B(-5) == kWhite)"),
    Fault("answers-black-free-cell", "src/threats/answers.cpp",
          "return black ? line.B(k) == kEmpty : line.NoStone(k);", "return line.NoStone(k);"),
    Fault("answers-three-far-cell", "src/threats/answers.cpp",
          "if (line.Code(-4) == kOpenThree) {", "if (line.Code(-3) == kOpenThree) {"),
    Fault("carry-black-marked-points", "src/threats/carry.cpp",
          "if (black ? pos.board[r][c] != kEmpty : pos.board[r][c] >= 1) continue;",
          "if (pos.board[r][c] >= 1) continue;"),
    Fault("carry-white-double-three", "src/threats/carry.cpp",
          "addIf(threeCount >= 2, kinds.doubleThrees", "addIf(threeCount > 2, kinds.doubleThrees"),
    Fault("carry-whole-group-into-held-list", "src/threats/carry.cpp",
          "if (target.Empty(kind)) {", "if (true) {"),
    Fault("carry-merge-repeats", "src/patterns/threat_inventory.cpp",
          "count += held.Insert(e.row, e.col) ? 1 : 0;", "count += 1;"),
    Fault("line-tests-near", "src/threats/line_tests.cpp",
          "return std::abs(row1 - row2) < reach && std::abs(col1 - col2) < reach;",
          "return std::abs(row1 - row2) <= reach && std::abs(col1 - col2) < reach;"),
    Fault("line-tests-strong-lines", "src/threats/line_tests.cpp",
          "if (pos.Code(colour, row, col, d) >= kOpenTwo) ++lines;",
          "if (pos.Code(colour, row, col, d) > kOpenTwo) ++lines;"),
    # patterns: the line-by-line codes and the threat masks
    Fault("update-line-range-one-short", "src/patterns/update.cpp",
          "return AndNot(LineVector::Load(kFirstCells[last].data()),",
          "return AndNot(LineVector::Load(kFirstCells[last - 1].data()),"),
    Fault("update-threat-lane-threshold", "src/patterns/update.cpp",
          "_mm_set1_epi8(kThreatThreshold)", "_mm_set1_epi8(kThreatThreshold + 1)"),
    Fault("update-segment-start-kept", "src/patterns/update.cpp",
          "LineVector::Load(kFirstCells[start].data()));", "LineVector::Zero());"),
    Fault("update-stone-keeps-threat-masks", "src/patterns/update.cpp",
          "if (stone != 0) pos.blackThreatMasks", "if (stone == 3) pos.blackThreatMasks"),
    Fault("update-threat-mask-group", "src/patterns/update.cpp",
          "shares[kStraightFour].maskBit = 1U << kStraightFourGroup;",
          "shares[kStraightFour].maskBit = 1U << kFourGroup;"),
    Fault("line-spots-cell", "src/patterns/lines.h",
          "kLineStart[d][place.number] + place.at)", "kLineStart[d][place.number] + place.at / 2)"),
    Fault("search-skips-own-list-without-a-five", "src/search/threat_search.cpp",
          "if (!node.last.Empty(Kinds<Opponent(Us)>::kFives)) {\n    node.own.ClearCounts();",
          "if (node.last.Empty(Kinds<Opponent(Us)>::kFives)) {\n    node.own.ClearCounts();"),
    # search: move choice and the threat search
    Fault("choose-black-selectable", "src/search/choose_move.cpp",
          "return colour == kBlack ? value == kEmpty : value <= 0;", "return value <= 0;"),
    Fault("choose-candidate-margin", "src/search/choose_move.cpp",
          "scores[r][c] + kCandidateMargin >= best) {", "scores[r][c] + kCandidateMargin > best) {"),
    Fault("rank-top-margin", "src/search/rank_candidates.cpp",
          "if (keys[k] + kTopMargin > top) ++topCount;", "if (keys[k] + kTopMargin >= top) ++topCount;"),
    Fault("think-early-level", "src/search/think.cpp",
          "if (state.moveCount <= kOpeningMoves && settings.searchLevel < kOpeningLevel)",
          "if (state.moveCount < kOpeningMoves && settings.searchLevel < kOpeningLevel)"),
    Fault("pump-depth-5", "src/search/threat_search.cpp",
          "if (call.depth == 6 && state_.hooks", "if (call.depth == 5 && state_.hooks"),
    Fault("pump-depth-7", "src/search/threat_search.cpp",
          "if (call.depth == 6 && state_.hooks", "if (call.depth == 7 && state_.hooks"),
    Fault("search-four-three-last-plies", "src/search/threat_search.cpp",
          "if (node.ply >= s.searchLevel + s.fourExtension - 1) {",
          "if (node.ply >= s.searchLevel + s.fourExtension - 2) {"),
    Fault("search-reserve-four-dropped", "src/search/threat_search.cpp",
          "if (OnBoard(next) && node.pos.board[next.row][next.col] == kEmpty",
          "if (false && node.pos.board[next.row][next.col] == kEmpty"),
    Fault("search-strong-lines-ply", "src/search/threat_search.cpp",
          "const bool strongLinesOnly = node.ply > s.strongLineDepth",
          "const bool strongLinesOnly = node.ply >= s.strongLineDepth"),
    Fault("search-five-block-root-fours-only", "src/search/threat_search.cpp",
          "if (ply == 1) child.blackLevel = child.whiteLevel = kFoursOnly;", ""),
    Fault("search-own-scan-dropped", "src/search/threat_search.cpp",
          "ScanAround(node.ply, node.own, node.pos, node.call.previous, ownKinds);",
          "node.own.ClearCounts();"),
    Fault("search-own-threes-ply", "src/search/threat_search.cpp",
          "node.ply < state_.settings.searchLevel && node.call.Level(Us) == kThreesAndFours;",
          "node.ply < state_.settings.searchLevel - 1 && node.call.Level(Us) == kThreesAndFours;"),
    Fault("defence-quick-depth", "src/search/defences.cpp",
          "if (ply > s.quickDefenceDepth) return", "if (ply >= s.quickDefenceDepth) return"),
    Fault("defence-white-root-depth-dropped", "src/search/defences.cpp",
          "if (Us == kWhite) result.depth = lastDepth;", ""),
    Fault("defence-counter-four-dropped", "src/search/defences.cpp",
          "  if (auto counter = CounterFourAtRoot<Us>(node, best)) return *counter;\n  if (lost == 0) {",
          "  if (lost == 0) {"),
    Fault("defence-counter-four-margin", "src/search/defences.cpp",
          "reply.depth > lossDepth + 2;", "reply.depth > lossDepth + 1;"),
    Fault("defence-answers-threat-level", "src/search/defences.cpp",
          "if (node.ply >= s.searchLevel - 4 || !laterThreat) {",
          "if (node.ply >= s.searchLevel - 3 || !laterThreat) {"),
    Fault("quiet-candidate-limit", "src/search/defences.cpp",
          "const int limit = level < 11 ? 10 : level < 13 ? 14 : 18;",
          "const int limit = level < 11 ? 9 : level < 13 ? 14 : 18;"),
    # files: the game record
    Fault("record-sequence", "src/files/record.cpp",
          "if (NumberValue(*number) != static_cast<long>(load.moves.size()) + 1) {",
          "if (NumberValue(*number) < static_cast<long>(load.moves.size()) + 1) {"),
    Fault("record-trailing-text-move-dropped", "src/files/record.cpp",
          "    load.moves.push_back(p);\n    // The classic reader",
          "    if (line.AtEnd()) load.moves.push_back(p);\n    // The classic reader"),
    Fault("record-digit-range", "src/files/record.cpp",
          "if (ch >= 'A' && ch <= 'E') return ch - 55;", "if (ch >= 'A' && ch <= 'F') return ch - 55;"),
    Fault("record-bom", "src/files/record.cpp",
          "if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());", ""),
    Fault("record-crlf-two-lines", "src/files/record.cpp",
          "text.remove_prefix(end + (crlf ? 2 : 1));", "text.remove_prefix(end + 1);"),
    Fault("record-too-many-moves", "src/files/record.cpp",
          "if (load.moves.size() == static_cast<size_t>(kBoardSize * kBoardSize)) {",
          "if (load.moves.size() > static_cast<size_t>(kBoardSize * kBoardSize)) {"),
    Fault("record-special-files-read", "src/files/text_file.cpp",
          "if (!S_ISREG(status.st_mode))", "if (S_ISDIR(status.st_mode))"),
    Fault("trace-short-depth", "src/files/trace.cpp",
          "return !shortTrace || entry.depth < kShortTraceDepth;",
          "return !shortTrace || entry.depth <= kShortTraceDepth;"),
    Fault("trace-odd-even-mark", "src/files/trace.cpp",
          "*out++ = entry.depth % 2 == 1 ? '=' : '-';", "*out++ = entry.depth % 2 == 0 ? '=' : '-';"),
    Fault("record-row-label", "src/files/record.cpp",
          "return static_cast<char>(row < 9 ? '1' + row : 'A' + row - 9);",
          "return static_cast<char>(row < 10 ? '1' + row : 'A' + row - 9);"),
    # rules
    Fault("rules-recursion-dropped", "src/rules/renju_rules.cpp",
          "if (!IsForbidden(Play(cell + offset * kStep[d]))) {", "if (true) {"),
    Fault("rules-five-or-more", "src/rules/renju_rules.cpp",
          "if (length == 5) return Verdict::kFive;", "if (length >= 5) return Verdict::kFive;"),
    # game
    Fault("turn-win-ends-turn", "src/game/game.cpp",
          "if (win) return;  // the winner", "if (false) return;  // the winner"),
    Fault("turn-autosave-interval", "src/game/game.cpp",
          "constexpr int kAutosaveInterval = 4;", "constexpr int kAutosaveInterval = 3;"),
    Fault("turn-kinjite-dropped", "src/game/game.cpp",
          "if (IsForbidden(verdict)) host_.ShowMessage(kKinjite);", ""),
    Fault("turn-kinjite-from-the-marks", "src/game/game.cpp",
          "if (IsForbidden(verdict)) host_.ShowMessage(kKinjite);",
          "if (engine_.position.board[p.row][p.col] < 0) host_.ShowMessage(kKinjite);"),
    Fault("turn-white-judged-as-black", "src/game/game.cpp",
          "  if (colour == kBlack) {\n    const Verdict verdict", "  if (true) {\n    const Verdict verdict"),
    Fault("turn-stone-on-stone", "src/game/game.cpp",
          "point && (!OnBoard(*point) || engine_.position.board[point->row][point->col] > 0)",
          "point && !OnBoard(*point)"),
    Fault("turn-status-mark", "src/game/game.cpp",
          "const int win = colour == kBlack ? 3 : -3;", "const int win = colour == kBlack ? -3 : 3;"),
    Fault("turn-keys-with-computer", "src/game/game.cpp",
          "if (thinking_ || blackPlayer_ != kMan || whitePlayer_ != kMan) return;",
          "if (thinking_) return;"),
    Fault("turn-input-while-thinking", "src/game/game.cpp",
          "void Game::SetPlayers(char black, char white) {\n  if (thinking_) return;",
          "void Game::SetPlayers(char black, char white) {"),
    Fault("trace-entry-index", "src/game/game.cpp",
          "if (at >= trace_.size()) trace_.resize(at + 1);\n  trace_[at] =",
          "trace_.emplace_back();\n  trace_.back() ="),
    Fault("game-play-occupied", "src/game/game.cpp",
          "if (engine_.position.board[p.row][p.col] > 0) return PlayResult::kOccupied;",
          "if (engine_.position.board[p.row][p.col] > 1) return PlayResult::kOccupied;"),
    # game: levels and the deepening reply
    Fault("deepening-step", "src/game/deepening.cpp",
          "level += kDeepeningStep;", "level += kDeepeningStep + 1;"),
    Fault("deepening-past-the-last-level", "src/game/deepening.cpp",
          "lastLevel = std::min(std::max(lastLevel, level), kMaxSearchLevel);",
          "lastLevel = kMaxSearchLevel;"),
    Fault("deepening-fixed-level-below-the-floor", "src/game/deepening.cpp",
          "lastLevel = std::min(std::max(lastLevel, level), kMaxSearchLevel);",
          "lastLevel = std::min(lastLevel, kMaxSearchLevel);"),
    Fault("deepening-stopped-level-stands", "src/game/deepening.cpp",
          "    if (thought.stopped) break;\n    best = thought;",
          "    best = thought;\n    if (thought.stopped) break;"),
    Fault("deepening-trace-of-the-last-level", "src/game/deepening.cpp",
          "  trace_.swap(bestTrace);\n", ""),
    Fault("level-keeps-old-time", "src/game/game.cpp",
          "  thinkingTime_ = item.thinkingTime;\n", ""),
    Fault("stopped-search-played", "src/game/game.cpp",
          "    if (thought.stopped) {", "    if (false) {"),
    # the window
    Fault("view-grid-end-pixel", "src/ui/board_drawing.cpp",
          "constexpr int kGridEnd = kGridOrigin + (kBoardSize - 1) * kCellPixels;",
          "constexpr int kGridEnd = kGridOrigin + (kBoardSize - 1) * kCellPixels + 1;"),
    Fault("view-number-colour", "src/ui/board_drawing.cpp",
          "painter.setPen(kind == '+' ? kNumberProvenWin : kNumber);",
          "painter.setPen(kind == ' ' ? kNumberProvenWin : kNumber);"),
    Fault("view-goo-rows-from-zero", "src/ui/board_drawing.cpp",
          "if (row) return QString::number(i + 1, 16).toUpper();",
          "if (row) return QString::number(i, 16).toUpper();"),
    Fault("view-crosses-for-white", "src/ui/board_drawing.cpp",
          "if (showForbidden_ && game_.SideToMove() == kBlack) {", "if (showForbidden_) {"),
    Fault("view-click-unscaled", "src/ui/czel_view.cpp",
          "const QPointF p = PictureTransform().inverted().map(position);",
          "const QPointF p = position;"),
    Fault("view-double-click-plays", "src/ui/czel_view.cpp",
          "void CZelView::mouseDoubleClickEvent(QMouseEvent* event) {\n  event->accept();",
          "void CZelView::mouseDoubleClickEvent(QMouseEvent* event) {\n  mousePressEvent(event);"),
    Fault("view-random-check", "src/ui/czel_view.cpp",
          "    case Command::kRandom:\n      return game_.settings().randomChoice;",
          "    case Command::kRandom:\n      return true;"),
    Fault("frame-checks-not-resynced", "src/shell/cmain_frame.cpp",
          "      UpdateCheckMarks();\n    });", "    });"),
    Fault("frame-close-keeps-searching", "src/shell/cmain_frame.cpp",
          "    view_->game().StopThinking();\n", ""),
    Fault("frame-panel-mark-not-kept", "src/shell/cmain_frame.cpp",
          "  Action(Command::kSidePanel)->setChecked(!sidePanel_->isHidden());\n", ""),
    Fault("frame-panel-hidden-window-stays-wide", "src/shell/cmain_frame.cpp",
          "    resize(width() - sidePanel_->width() - SeparatorWidth(), height());", ""),
    Fault("panel-switch-ignores-menu", "src/shell/side_panel.cpp",
          "    connect(item, &QAction::toggled, box, &QCheckBox::setChecked);\n", ""),
    Fault("view-analysis-runs-while-thinking", "src/ui/czel_view.cpp",
          "    analysis_.Stop();\n    analysed_ = {kNoPoint};", "    analysed_ = {kNoPoint};"),
    Fault("view-stale-analysis-shown", "src/ui/czel_view.cpp",
          "if (!liveAnalysis_ || line.position != analysed_) return;", "if (!liveAnalysis_) return;"),
    Fault("view-variation-kept-on-change", "src/ui/czel_view.cpp",
          "    variation_.clear();\n", ""),
    Fault("view-renju-labels-survive-goo", "src/ui/czel_view.cpp",
          "      if (!game_.thinking()) renjuLabels_ = false;\n", ""),
    Fault("view-ghost-colours-swapped", "src/ui/board_drawing.cpp",
          "    const bool black = colour == kBlack;", "    const bool black = colour != kBlack;"),
    Fault("view-ghosts-unnumbered", "src/ui/board_drawing.cpp",
          "    DrawNumber(painter, p, number, black ? Qt::white : Qt::black);\n", ""),
    Fault("view-ghosts-without-switch", "src/ui/board_drawing.cpp",
          "  if (showVariation_) DrawVariation(painter);", "  DrawVariation(painter);"),
    Fault("view-renju-rows-from-top", "src/ui/board_drawing.cpp",
          "QString::number(kBoardSize - i));", "QString::number(i + 1));"),
    Fault("analysis-variation-of-the-position", "src/game/live_analysis.cpp",
          "FormatMoves(pv), pv, moves});", "FormatMoves(pv), moves, moves});"),
    # the window's openings
    Fault("opening-swap-keeps-players", "src/game/game.cpp",
          "std::swap(blackPlayer_, whitePlayer_);", ""),
    Fault("opening-swap-answer-ignored", "src/game/game.cpp",
          "OpeningStep::Swap(host_.AskYesNo(", "OpeningStep::Swap(false && host_.AskYesNo("),
    Fault("opening-refused-stone-silent", "src/game/game.cpp",
          "if (const auto refused = TakeOpeningStep(OpeningStep::Place(p))) host_.ShowMessage(*refused);",
          "(void)TakeOpeningStep(OpeningStep::Place(p));"),
    Fault("opening-refused-offer-kept", "src/game/game.cpp",
          "          pendingOffer_.pop_back();\n", ""),
    Fault("opening-computer-waits-after", "src/game/game.cpp",
          "&& Player(SideToMove()) == kComputer) Turn(std::nullopt);",
          "&& false) Turn(std::nullopt);"),
    Fault("opening-back-into-it", "src/game/game.cpp",
          "if (target < floor || target > end", "if (target < 0 || target > end"),
    Fault("opening-restored-without-floor", "src/game/game.cpp",
          "openingStones_ = over ? static_cast<int>(stones.size()) : 0;", "openingStones_ = 0;"),
    Fault("opening-log-not-saved", "src/game/game.cpp",
          "} else if ((error = SaveOpeningLog(", "} else if (false && (error = SaveOpeningLog("),
    Fault("view-offers-not-drawn", "src/ui/board_drawing.cpp",
          "for (const Point p : game_.OfferedMoves()) {", "for (const Point p : std::vector<Point>()) {"),
    Fault("view-rule-check-mark", "src/ui/czel_view.cpp",
          "return game_.openingRule() == rule;", "return game_.openingRule() != rule;"),
]

# Faults that cannot change any result, kept apart so that they are not tried again: the score
# counts only faults that some input can expose.
EQUIVALENT = [
    # A stone's cell holds kBase for its own colour and kBlocked for the other, never a threat,
    # so no line pass marks it for re-examining; the changed point itself is left out by
    # UpdatePatterns.
    Fault("update-changed-stone-reexamined", "src/patterns/update.cpp",
          "&\n         ~(stones.black | stones.white);", ";"),
    # On an unmarked point Black never has two threes or two fours (that is a forbidden point),
    # so "exactly one three" and "at least one three" agree there.
    Fault("inventory-four-three-count", "src/patterns/threat_inventory.cpp",
          "== 1 && CountDirections(threes) == 1) {", "== 1 && CountDirections(threes) >= 1) {"),
    Fault("carry-four-three-count", "src/threats/carry.cpp",
          "addIf(fourCount == 1 && threeCount == 1,", "addIf(fourCount >= 1 && threeCount == 1,"),
    # A point whose threat mask is 0 has no threat code that a list holds, so classifying it adds
    # nothing: the test only saves the work.
    Fault("carry-quiet-points-kept", "src/threats/carry.cpp",
          "      if (mask == 0) continue;\n", ""),
    # A file over the limit is refused by the bounded read as well; the early check only spares
    # reading its first megabyte.
    Fault("record-size-limit", "src/files/text_file.cpp",
          "if (status.st_size > limit) return", "if (status.st_size > 2 * limit) return"),
]


RANDOM_FOLDERS = ["src/patterns", "src/threats", "src/search", "src/files", "src/game", "src/rules"]

# (pattern, replacement) per kind; the operators stand between spaces, as clang-format writes them,
# which keeps template brackets, shifts and arrows out.
MUTATIONS = [
    (re.compile(r" (<=|<|>=|>) "), {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}),
    (re.compile(r" (==|!=) "), {"==": "!=", "!=": "=="}),
    (re.compile(r"([+-]) 1(?![0-9.])"), {"+": "-", "-": "+"}),
    (re.compile(r" (&&|\|\|) "), {"&&": "||", "||": "&&"}),
]


def random_faults(count, seed, folders):
    """`count` faults drawn with `seed` from every mutable site of the folders."""
    sites = []
    for folder in folders:
        for path in sorted((ROOT / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h"):
                continue
            lines = path.read_text().split("\n")
            for number, line in enumerate(lines, 1):
                code = line.split("//")[0]
                stripped = code.strip()
                if not stripped or stripped.startswith(("#", "*")) or "assert" in code:
                    continue
                for pattern, swap in MUTATIONS:
                    for m in pattern.finditer(code):
                        sites.append((path, number, m.start(1), m.group(1), swap[m.group(1)]))
    chosen = random.Random(seed).sample(sites, min(count, len(sites)))
    faults = []
    for path, number, column, old, new in chosen:
        lines = path.read_text().split("\n")
        line = lines[number - 1]
        changed = line[:column] + new + line[column + len(old):]
        # The line with its neighbours, so that the text occurs once in the file.
        before = "\n".join(lines[max(0, number - 2):number - 1] + [line] + lines[number:number + 1])
        after = "\n".join(lines[max(0, number - 2):number - 1] + [changed] + lines[number:number + 1])
        relative = str(path.relative_to(ROOT))
        faults.append(Fault(f"{relative}:{number}: {old} -> {new}", relative, before, after,
                            changed.strip()))
    return faults


def object_digest(work):
    """One digest of every object file of the build: a fault that leaves it unchanged changed no
    code that this build compiles."""
    digest = hashlib.sha256()
    for path in sorted((work / "build").rglob("*.o")):
        digest.update(path.read_bytes())
    return digest.hexdigest()


def run(cmd, cwd, timeout=None):
    return subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, timeout=timeout)


def copy_tree(work):
    """The working tree's files (tracked and untracked, not ignored), copied to `work`."""
    files = run(["git", "ls-files", "-co", "--exclude-standard", "-z"], ROOT).stdout.split("\0")
    # Files the tree no longer has are removed; the build directory stays.
    keep = {Path(name) for name in files if name}
    if work.exists():
        for path in sorted(work.rglob("*"), reverse=True):
            relative = path.relative_to(work)
            if relative.parts[0] == "build" or relative in keep:
                continue
            if path.is_dir():
                if not any(path.iterdir()):
                    path.rmdir()
            else:
                path.unlink()
    for name in filter(None, files):
        source = ROOT / name
        target = work / name
        if not source.is_file():
            continue
        # A file copied anew gets the time of the copy, so that a scratch build made from an
        # older copy rebuilds what it changed; an unchanged file keeps its time.
        if target.is_file() and target.read_bytes() == source.read_bytes():
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(source, target)
        shutil.copymode(source, target)


def build(work, jobs):
    return run(["cmake", "--build", "build", "-j", str(jobs)], work, timeout=1800).returncode == 0


def suite_passes(work, jobs, timeout, tests=None):
    select = ["-R", tests] if tests else []
    try:
        result = run(["ctest", "--test-dir", "build", "-j", str(jobs), "--timeout", str(timeout),
                      "--stop-on-failure"] + select, work, timeout=20 * timeout)
    except subprocess.TimeoutExpired:
        return False
    return result.returncode == 0


def main():
    global ROOT
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--work", default="/tmp/zel-faults", help="scratch directory")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    parser.add_argument("--timeout", type=int, default=120, help="seconds per test")
    parser.add_argument("--only", nargs="*", help="fault names to run")
    parser.add_argument("--list", action="store_true", help="list the faults and stop")
    parser.add_argument("--equivalent", action="store_true",
                        help="try the faults held to change no result instead")
    parser.add_argument("--random", type=int, metavar="N",
                        help="try N faults drawn at random from the engine's folders instead")
    parser.add_argument("--seed", type=int, default=1, help="the random draw's seed")
    parser.add_argument("--folders", nargs="*", default=RANDOM_FOLDERS,
                        help="where --random draws its faults")
    parser.add_argument("--tests", help="run only the tests matching this ctest regex")
    parser.add_argument("--no-window", action="store_true",
                        help="build without the window and its tests (faults outside it only)")
    parser.add_argument("--root", type=Path, default=ROOT,
                        help="the tree to test (this script's own checkout unless told)")
    args = parser.parse_args()
    ROOT = args.root.resolve()

    if args.random:
        faults = random_faults(args.random, args.seed, args.folders)
    else:
        faults = EQUIVALENT if args.equivalent else FAULTS
    faults = [f for f in faults if not args.only or f.name in args.only]
    if args.list:
        for f in faults:
            print(f"{f.name:40} {f.path}")
        return 0

    work = Path(args.work)
    work.mkdir(parents=True, exist_ok=True)
    copy_tree(work)
    # Without link-time optimisation: a fault's rebuild then relinks in seconds, and what the
    # tests say does not depend on it.
    configure = ["cmake", "-S", ".", "-B", "build", "-DCMAKE_BUILD_TYPE=Release",
                 "-DZEL_BUILD_BENCH=OFF", "-DZEL_LTO=OFF",
                 "-DZEL_BUILD_WINDOW=" + ("OFF" if args.no_window else "ON")]
    if run(configure, work).returncode != 0 or not build(work, args.jobs):
        print("the unchanged tree does not build", file=sys.stderr)
        return 2
    if not suite_passes(work, args.jobs, args.timeout, args.tests):
        print("the unchanged tree fails its tests", file=sys.stderr)
        return 2

    unchanged_objects = object_digest(work)
    caught, missed, stale, unbuilt, uncompiled = [], [], [], [], []
    for f in faults:
        path = work / f.path
        original = path.read_text()
        if original.count(f.old) != 1:
            stale.append(f.name)
            print(f"{f.name:40} stale: the text to change is not in {f.path} exactly once")
            continue
        start = time.time()
        path.write_text(original.replace(f.old, f.new))
        try:
            if not build(work, args.jobs):
                unbuilt.append(f.name)
                verdict = "does not build"
            elif args.random and object_digest(work) == unchanged_objects:
                uncompiled.append(f.name)
                verdict = "no code change"
            elif suite_passes(work, args.jobs, args.timeout, args.tests):
                missed.append(f.name)
                verdict = "MISSED"
            else:
                caught.append(f.name)
                verdict = "caught"
        finally:
            path.write_text(original)
        print(f"{f.name:40} {verdict:15} {time.time() - start:5.0f} s", flush=True)
        if f.shown and verdict == "MISSED":
            print("    " + f.shown)

    build(work, args.jobs)  # leave the scratch build unchanged
    tried = len(caught) + len(missed)
    share = 100.0 * len(caught) / tried if tried else 0.0
    print(f"\ncaught {len(caught)} of {tried} faults ({share:.0f}%)")
    if missed:
        print("missed: " + ", ".join(missed))
    if stale or unbuilt:
        print("not counted (stale or not building): " + ", ".join(stale + unbuilt))
    if uncompiled:
        print(f"not counted (no code change in this build): {len(uncompiled)}")
    if args.random:
        return 0 if not missed else 1
    return 0 if not missed and not stale and not unbuilt else 1


if __name__ == "__main__":
    sys.exit(main())
