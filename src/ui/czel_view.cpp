#include "ui/czel_view.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "files/move_text.h"

namespace zel {
namespace {

// The level commands, in the order of the level items they select.
constexpr std::array kLevelCommands{Command::kBeginner, Command::kLevel1, Command::kLevel2,
                                    Command::kLevel3,   Command::kLevel4, Command::kAdvanced};
static_assert(kLevelCommands.size() == kLevelItems.size());

// The level item a level command selects, or -1.
int LevelIndexOf(Command command) {
  const auto* it = std::find(kLevelCommands.begin(), kLevelCommands.end(), command);
  return it == kLevelCommands.end() ? -1 : static_cast<int>(it - kLevelCommands.begin());
}

std::optional<std::filesystem::path> AskPath(QWidget* parent, QFileDialog::AcceptMode mode,
                                             std::string_view defaultExtension) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(ToQString(defaultExtension));
  dialog.setNameFilters({QStringLiteral("Text files (*.%1)").arg(ToQString(defaultExtension)),
                         QStringLiteral("All files (*)")});
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return std::filesystem::path(dialog.selectedFiles().front().toStdString());
}

// The time items and the strong engine's time a move each selects.
constexpr std::array<std::pair<Command, int>, 5> kTimeCommands{{{Command::kTime1, 1},
                                                                {Command::kTime2, 2},
                                                                {Command::kTime5, 5},
                                                                {Command::kTime10, 10},
                                                                {Command::kTime30, 30}}};

// The seconds a time command selects, or nothing.
std::optional<std::chrono::seconds> TimeOf(Command command) {
  for (const auto& [item, seconds] : kTimeCommands) {
    if (item == command) return std::chrono::seconds(seconds);
  }
  return std::nullopt;
}

// The opening rule items and the rule each selects (none: "Free").
constexpr std::array<std::pair<Command, std::optional<openings::Rule>>, 4> kRuleCommands{
    {{Command::kFree, std::nullopt},
     {Command::kRif, openings::Rule::kRif},
     {Command::kSoosorv8, openings::Rule::kSoosorv8},
     {Command::kTaraguchi10, openings::Rule::kTaraguchi10}}};

}  // namespace

CZelView::CZelView(QWidget* parent, std::filesystem::path recordPath)
    : QWidget(parent),
      game_(*this, std::move(recordPath)),
      analysis_([this](const AnalysisLine& line) {
        // On the analysis thread: the report goes to the window's thread.
        QMetaObject::invokeMethod(
            this, [this, line] { OnAnalysisLine(line); }, Qt::QueuedConnection);
      }) {
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(kPictureSize / 2, kPictureSize / 2);
  setAttribute(Qt::WA_OpaquePaintEvent);  // every paint fills the whole view
}

// --- Commands.

void CZelView::OnCommand(Command command) {
  DoCommand(command);
  FollowPosition();
  // Any command may have held a turn: "Next", "Hint", and a new game whose opening the computer
  // takes up.
  emit TurnEnded();
}

void CZelView::SetLiveAnalysis(bool on) {
  liveAnalysis_ = on;
  analysis_.Stop();
  analysed_.clear();
  SetAnalysisState(QStringLiteral("Live Analysis is off."));
  FollowPosition();
}

void CZelView::FollowPosition() {
  if (!liveAnalysis_) return;
  if (game_.thinking()) {
    if (analysed_ == std::vector<Point>{kNoPoint}) return;
    analysis_.Stop();
    analysed_ = {kNoPoint};  // no position: the next one restarts it
    SetAnalysisState(QStringLiteral("Paused while the computer thinks."));
    return;
  }
  const std::vector<Point> moves(game_.Moves().begin(), game_.Moves().end());
  if (moves == analysed_ && analysis_.running()) return;
  analysed_ = moves;
  SetAnalysisState(QStringLiteral("Analysing..."));
  analysis_.Start(moves);
}

void CZelView::SetAnalysisState(const QString& text) {
  if (!variation_.empty()) {
    variation_.clear();
    update();
  }
  emit AnalysisChanged(text);
}

void CZelView::OnAnalysisLine(const AnalysisLine& line) {
  // A report queued before the position changed belongs to no position on the board.
  if (!liveAnalysis_ || line.position != analysed_) return;
  variation_ = line.variation;
  if (showVariation_) update();
  emit AnalysisChanged(QStringLiteral("%1\ndepth %2, %3 nodes/s\nline %4")
                           .arg(ToQString(line.score))
                           .arg(line.depth)
                           .arg(line.nodesPerSecond)
                           .arg(ToQString(line.pv)));
}

void CZelView::Toggle(bool& shown) {
  shown = !shown;
  update();
}

void CZelView::DoCommand(Command command) {
  if (const int level = LevelIndexOf(command); level >= 0) {
    game_.SelectLevel(level);
    return;
  }
  if (const auto time = TimeOf(command)) {
    game_.SetAdvancedTime(*time);
    return;
  }
  for (const auto& [item, rule] : kRuleCommands) {
    if (item == command) return game_.SetOpeningRule(rule);
  }
  SearchSettings settings = game_.settings();
  switch (command) {
    case Command::kSave:
      return game_.SaveRecordCommand();
    case Command::kLoad:
      return game_.LoadRecordCommand();
    case Command::kOpenPsq:
      return game_.OpenPsqCommand();
    case Command::kSavePsq:
      return game_.SavePsqCommand();
    case Command::kNewGame:
      return game_.NewGameCommand();
    case Command::kBlackComputer:
      return game_.SetPlayers(kComputer, kMan);
    case Command::kWhiteComputer:
      return game_.SetPlayers(kMan, kComputer);
    case Command::kBothMan:
      return game_.SetPlayers(kMan, kMan);
    case Command::kNext:
      return game_.RequestMove();
    case Command::kNon34:
      settings.quietMoves = !settings.quietMoves;
      game_.SetSettings(settings);
      return;
    case Command::kRandom:
      settings.randomChoice = !settings.randomChoice;
      game_.SetSettings(settings);
      return;
    case Command::kTraceOnOff:
      game_.SetTraceSwitch(!game_.traceSwitch());
      return;
    case Command::kTraceSaveFull:
      return game_.SaveTraceCommand(false);
    case Command::kTraceSaveShort:
      return game_.SaveTraceCommand(true);
    case Command::kTraceLoad:
      return game_.LoadTraceCommand();
    case Command::kDebug:
    case Command::kGoo:
      // Choosing a display mode shows its labels again.
      if (!game_.thinking()) renjuLabels_ = false;
      game_.SetDisplayMode(command == Command::kDebug ? 1 : 0);
      return;
    case Command::kRenjuLabels:
      return Toggle(renjuLabels_);
    case Command::kShowVariation:
      return Toggle(showVariation_);
    case Command::kForbiddenPoints:
      return Toggle(showForbidden_);
    case Command::kLiveAnalysis:
      return SetLiveAnalysis(!liveAnalysis_);
    case Command::kStoneNumbers:
      return Toggle(showNumbers_);
    case Command::kHint:
      game_.Hint();
      return;
    case Command::kCopyPosition:
      QGuiApplication::clipboard()->setText(ToQString(FormatMoves(game_.Moves())));
      return;
    case Command::kPastePosition:
      return PastePosition();
    case Command::kAbout:
      emit AboutRequested();
      return;
    case Command::kBack:
      game_.Navigate(Step::kBack);
      return;
    case Command::kForward:
      game_.Navigate(Step::kForward);
      return;
    case Command::kHome:
      game_.Navigate(Step::kHome);
      return;
    case Command::kEnd:
      game_.Navigate(Step::kEnd);
      return;
    default:
      return;  // "Wide", "Misete" and "Norite" have no effect
  }
}

std::optional<bool> CZelView::IsChecked(Command command) const {
  if (const int level = LevelIndexOf(command); level >= 0) return game_.levelIndex() == level;
  if (const auto time = TimeOf(command)) return game_.advancedTime() == *time;
  for (const auto& [item, rule] : kRuleCommands) {
    if (item == command) return game_.openingRule() == rule;
  }
  const char black = game_.blackPlayer();
  const char white = game_.whitePlayer();
  switch (command) {
    case Command::kBlackComputer:
      return black == kComputer && white == kMan;
    case Command::kWhiteComputer:
      return black == kMan && white == kComputer;
    case Command::kBothMan:
      return black == kMan && white == kMan;
    case Command::kNon34:
      return game_.settings().quietMoves;
    case Command::kRandom:
      return game_.settings().randomChoice;
    case Command::kTraceOnOff:
      return game_.traceSwitch();
    case Command::kDebug:
      return game_.displayMode() == 1;
    case Command::kGoo:
      return game_.displayMode() == 0;
    case Command::kForbiddenPoints:
      return showForbidden_;
    case Command::kStoneNumbers:
      return showNumbers_;
    case Command::kLiveAnalysis:
      return liveAnalysis_;
    case Command::kShowVariation:
      return showVariation_;
    case Command::kRenjuLabels:
      return renjuLabels_;
    default:
      return std::nullopt;
  }
}

void CZelView::PastePosition() {
  if (game_.thinking()) return;
  const MovesText text = ParseMoves(QGuiApplication::clipboard()->text().toStdString());
  if (text.error) return ShowMessage("Cannot paste the position: " + *text.error);
  game_.LoadMoves(text.moves);
  Repaint();
}

// --- Geometry.

double CZelView::scale() const {
  return std::min(width(), height()) / static_cast<double>(kPictureSize);
}

QTransform CZelView::PictureTransform() const {
  const double s = scale();
  // Whole pixels keep the picture crisp at scale 1.
  const double dx = std::floor((width() - kPictureSize * s) / 2);
  const double dy = std::floor((height() - kPictureSize * s) / 2);
  return QTransform(s, 0, 0, s, dx, dy);
}

// --- Input.

void CZelView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnLButtonDown(event->position());
  QWidget::mousePressEvent(event);
}

// The second press of a double click places nothing.
void CZelView::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
}

void CZelView::OnLButtonDown(QPointF position) {
  const QPointF p = PictureTransform().inverted().map(position);
  // Outside the picture (in the margin of a view wider or taller than it) is no cell.
  if (p.x() < 0 || p.y() < 0 || p.x() >= kPictureSize || p.y() >= kPictureSize) return;
  game_.TakeTurn(static_cast<int>(p.x()), static_cast<int>(p.y()));
  FollowPosition();
  emit TurnEnded();
}

void CZelView::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  if (text.size() == 1 && text[0].unicode() < 128) OnChar(static_cast<char>(text[0].unicode()));
  QWidget::keyPressEvent(event);
}

void CZelView::OnChar(char ch) {
  game_.OnChar(ch);
  FollowPosition();
}

// --- Host.

void CZelView::ShowStatus(std::string_view text) {
  if (game_.thinking()) FollowPosition();  // the computer's search starts
  statusText_ = ToQString(text);
  emit StatusTextChanged(statusText_);
}

void CZelView::ShowMessage(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(kMessageCaption), ToQString(text), QMessageBox::Ok,
                  window());
  box.exec();
}

bool CZelView::AskYesNo(std::string_view question) {
  return QMessageBox::question(window(), ToQString(kMessageCaption), ToQString(question)) ==
         QMessageBox::Yes;
}

std::optional<int> CZelView::AskNumber(std::string_view question, int low, int high) {
  bool ok = false;
  const int n = QInputDialog::getInt(window(), ToQString(kMessageCaption), ToQString(question), low,
                                     low, high, 1, &ok);
  return ok ? std::optional<int>(n) : std::nullopt;
}

void CZelView::Repaint() {
  // At once: the computer's reply may follow inside the same click.
  repaint();
  FollowPosition();
}

void CZelView::PumpOneMessage() {
  QGuiApplication::processEvents();
}

std::optional<std::filesystem::path> CZelView::AskOpenPath(std::string_view defaultExtension) {
  return AskPath(window(), QFileDialog::AcceptOpen, defaultExtension);
}

std::optional<std::filesystem::path> CZelView::AskSavePath(std::string_view defaultExtension) {
  return AskPath(window(), QFileDialog::AcceptSave, defaultExtension);
}

}  // namespace zel
