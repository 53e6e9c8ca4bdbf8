// The board view: it owns the game, paints the board, turns clicks, keys and menu commands into
// the game's input, and is the game's Host (status bar, message boxes, file dialogs, repaints and
// the message pump of a long search).
#pragma once

#include <QPointF>
#include <QString>
#include <QTransform>
#include <QWidget>
#include <filesystem>
#include <optional>

#include "game/game.h"
#include "game/host.h"
#include "game/live_analysis.h"
#include "ui/commands.h"

class QPainter;

namespace zel {

// The board's picture at scale 1: the view's area in a window of its initial size. The view
// scales it uniformly to fit.
inline constexpr int kPictureSize = 318;

// The program's texts (UTF-8) for Qt.
inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The caption of every message box.
inline constexpr std::string_view kMessageCaption = "version 1.1";

class CZelView : public QWidget, public Host {
  Q_OBJECT

 public:
  explicit CZelView(QWidget* parent = nullptr,
                    std::filesystem::path recordPath = std::string(kRecordFileName));

  Game& game() { return game_; }
  const Game& game() const { return game_; }

  // Menu commands and their check marks: nothing for an item whose mark the view does not keep.
  void OnCommand(Command command);
  // Live analysis of the position on the board ("Live Analysis"); ends at once when turned off.
  void SetLiveAnalysis(bool on);
  bool liveAnalysis() const { return liveAnalysis_; }
  std::optional<bool> IsChecked(Command command) const;

  // The text the message pane shows.
  const QString& statusText() const { return statusText_; }

  // Black's forbidden points drawn as red crosses while Black is to move.
  bool showForbidden() const { return showForbidden_; }
  // Every stone's move number written on it ("Stone Numbers").
  bool showNumbers() const { return showNumbers_; }
  // The live analysis's latest line for the position on the board, in the order of play (empty
  // while there is none), and whether it is drawn as numbered ghost stones ("Show Variation").
  const std::vector<Point>& variation() const { return variation_; }
  bool showVariation() const { return showVariation_; }
  // The margins labelled a to o from the left and 1 to 15 from the bottom ("Renju Labels"),
  // instead of the display mode's labels, until Debug or Goo is chosen again.
  bool renjuLabels() const { return renjuLabels_; }
  // A search of the live analysis is running.
  bool analysing() const { return analysis_.running(); }

  // From the view's pixels to the picture's and back; the picture is scaled uniformly and
  // centred.
  QTransform PictureTransform() const;
  double scale() const;

  // Paints the whole board through `painter`, in the picture's coordinates.
  void DrawBoard(QPainter& painter) const;

  // Host.
  void ShowStatus(std::string_view text) override;
  void ShowMessage(std::string_view text) override;
  void Repaint() override;
  void PumpOneMessage() override;
  std::optional<std::filesystem::path> AskOpenPath(std::string_view defaultExtension) override;
  std::optional<std::filesystem::path> AskSavePath(std::string_view defaultExtension) override;
  bool AskYesNo(std::string_view question) override;
  std::optional<int> AskNumber(std::string_view question, int low, int high) override;

  QSize sizeHint() const override { return {kPictureSize, kPictureSize}; }

 signals:
  // The status bar's message pane is to show text.
  void StatusTextChanged(const QString& text);
  // The About box is asked for.
  void AboutRequested();
  // A turn that held back a close of the window has ended.
  void TurnEnded();
  // The live analysis's text has changed: a new report, or that it has started, paused or stopped.
  void AnalysisChanged(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Paints one stone (kind 'b' or 'w'; ' ' or '+' paints none) and, when number is above 0,
  // the number in the green of kind.
  void DrawStone(QPainter& painter, char kind, int number, Point p) const;
  // Writes a number on the stone at p, in the colour given.
  void DrawNumber(QPainter& painter, Point p, int number, const QColor& colour) const;
  // Draws the variation's moves that fall on empty points as translucent numbered stones.
  void DrawVariation(QPainter& painter) const;
  void DrawLabels(QPainter& painter) const;
  void OnDraw(QPainter& painter) const { DrawBoard(painter); }
  void DoCommand(Command command);
  // Turns one of the board's displays on or off.
  void Toggle(bool& shown);
  void OnLButtonDown(QPointF position);
  // Keeps the live analysis on the position on the board: stopped while the computer thinks,
  // restarted when the position has changed.
  void FollowPosition();
  // Shows a report of the live analysis unless it is of a position no longer analysed.
  void OnAnalysisLine(const AnalysisLine& line);
  // Says what the live analysis is doing, and forgets the line drawn on the board.
  void SetAnalysisState(const QString& text);
  void OnChar(char ch);
  // Sets up the game the clipboard's text holds, or says why it holds none and changes nothing.
  void PastePosition();

  // Declared before the game, whose construction shows the greeting.
  QString statusText_;
  bool showForbidden_ = true;
  bool showNumbers_ = false;
  bool showVariation_ = false;
  bool renjuLabels_ = false;
  Game game_;
  bool liveAnalysis_ = false;
  std::vector<Point> analysed_;   // the moves of the position under analysis
  std::vector<Point> variation_;  // its latest line
  // Declared after the game: it stops before the game goes.
  LiveAnalysis analysis_;
};

}  // namespace zel
