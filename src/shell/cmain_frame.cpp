#include "shell/cmain_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>

#include "shell/app_icon.h"
#include "shell/cabout_dlg.h"

namespace zel {
CMainFrame::CMainFrame(CZelView* view)
    : view_(view ? view : new CZelView()), messagePane_(new QLabel(this)) {
  setWindowTitle(doc_.Title() + QStringLiteral(" - ") + ToQString(kFrameTitle));
  setWindowIcon(AppIcon());
  setCentralWidget(view_);
  view_->setFocus();

  // The message pane: the program's messages, and "ﾚﾃﾞｨ" whenever a menu closes. A highlighted
  // item's prompt covers it while the menu is open.
  messagePane_->setText(view_->statusText());
  statusBar()->addWidget(messagePane_, 1);
  connect(view_, &CZelView::StatusTextChanged, this, [this](const QString& text) {
    messagePane_->setText(text);
    messagePane_->repaint();  // at once, before a search starts
  });
  connect(view_, &CZelView::AboutRequested, this, &CMainFrame::ShowAbout);
  connect(view_, &CZelView::TurnEnded, this, [this] {
    if (closePending_) close();
  });

  BuildMenus();

  // The side panel, hidden at first: the Analysis menu's commands and the live analysis's score,
  // depth, speed and principal variation.
  sidePanel_ = new SidePanel([this](Command command) { return Action(command); }, this);
  sidePanel_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  addDockWidget(Qt::RightDockWidgetArea, sidePanel_);
  sidePanel_->hide();
  sidePanel_->SetReport(QStringLiteral("Live Analysis is off."));
  connect(view_, &CZelView::AnalysisChanged, sidePanel_, &SidePanel::SetReport);
  connect(sidePanel_, &QDockWidget::visibilityChanged, this, &CMainFrame::OnPanelVisibility);

  UpdateCheckMarks();
  resize(kInitialFrameSize);
}

// The panel, hidden as the window's children go, has no more check mark to set.
CMainFrame::~CMainFrame() {
  sidePanel_->disconnect(this);
}

void CMainFrame::BuildMenus() {
  QMenu* menu = nullptr;
  std::string_view menuName;
  for (const MenuItem& item : kMenuItems) {
    if (!menu || item.menu != menuName) {
      menuName = item.menu;
      menu = menuBar()->addMenu(ToQString(item.menu));
      connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCheckMarks);
      connect(menu, &QMenu::aboutToHide, this,
              [this] { messagePane_->setText(ToQString(kReady)); });
    }
    if (item.label.empty()) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(ToQString(item.label));
    action->setCheckable(item.checkable);
    action->setStatusTip(ToQString(item.prompt));
    if (!item.shortcut.empty()) action->setShortcut(QKeySequence(ToQString(item.shortcut)));
    const Command command = item.command;
    connect(action, &QAction::triggered, this, [this, command] {
      if (command == Command::kSidePanel) return ShowPanel(sidePanel_->isHidden());
      view_->OnCommand(command);
      // The analysis's report is in the panel.
      if (command == Command::kLiveAnalysis && view_->liveAnalysis()) ShowPanel(true);
      // A checkable item toggles itself when chosen; its mark follows the state instead.
      UpdateCheckMarks();
    });
    actions_[command] = action;
  }
  Action(Command::kSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
}

void CMainFrame::UpdateCheckMarks() {
  for (const MenuItem& item : kMenuItems) {
    if (!item.checkable) continue;
    if (const auto checked = view_->IsChecked(item.command))
      Action(item.command)->setChecked(*checked);
  }
  Action(Command::kSidePanel)->setChecked(!sidePanel_->isHidden());
}

int CMainFrame::SeparatorWidth() const {
  return style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
}

// The board keeps its size: the window widens by the panel's width and separator before the panel
// shows (shown first, the panel would have the layout squeeze the view to its minimum), and
// narrows by them once the panel is hidden, by this switch or by the panel's close button.
void CMainFrame::ShowPanel(bool shown) {
  if (shown && sidePanel_->isHidden() && !isMaximized() && !isFullScreen())
    resize(width() + sidePanel_->sizeHint().width() + SeparatorWidth(), height());
  sidePanel_->setVisible(shown);
  UpdateCheckMarks();
}

void CMainFrame::OnPanelVisibility(bool visible) {
  UpdateCheckMarks();
  if (!visible && sidePanel_->isHidden() && !isMaximized() && !isFullScreen()) {
    layout()->invalidate();  // the window's minimum size without the panel
    layout()->activate();
    resize(width() - sidePanel_->width() - SeparatorWidth(), height());
  }
}

QString CMainFrame::StatusText() const {
  return messagePane_->text();
}

void CMainFrame::ShowAbout() {
  CAboutDlg about(this);
  about.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // A window closed while the computer thinks closes once its move is made; the search is asked
  // to stop at once.
  if (view_->game().thinking()) {
    closePending_ = true;
    view_->game().StopThinking();
    event->ignore();
    return;
  }
  view_->SetLiveAnalysis(false);  // at once, before the window goes
  QMainWindow::closeEvent(event);
}

}  // namespace zel
