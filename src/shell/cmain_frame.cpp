#include "shell/cmain_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

#include "shell/app_icon.h"
#include "shell/cabout_dlg.h"

namespace zel {
CMainFrame::CMainFrame(CZelView* view)
    : view_(view ? view : new CZelView()),
      messagePane_(new QLabel(this)),
      analysisPanel_(new QDockWidget(QStringLiteral("Analysis"), this)),
      analysisText_(new QLabel(analysisPanel_)) {
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

  // The live analysis's panel, shown while the analysis is on: the score, the depth and speed, and
  // the principal variation.
  analysisPanel_->setObjectName(QStringLiteral("analysisPanel"));
  analysisPanel_->setFeatures(QDockWidget::DockWidgetMovable);
  analysisText_->setWordWrap(true);
  analysisText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  analysisText_->setMinimumWidth(160);
  analysisPanel_->setWidget(analysisText_);
  addDockWidget(Qt::RightDockWidgetArea, analysisPanel_);
  analysisPanel_->hide();
  connect(view_, &CZelView::AnalysisChanged, this, [this](const QString& text) {
    analysisText_->setText(text.isEmpty() ? QStringLiteral("analysing...") : text);
    analysisPanel_->setVisible(view_->liveAnalysis());
  });

  BuildMenus();
  resize(kInitialFrameSize);
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
      view_->OnCommand(command);
      // A checkable item toggles itself when chosen; its mark follows the state instead.
      UpdateCheckMarks();
    });
    actions_[command] = action;
  }
  Action(Command::kSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  UpdateCheckMarks();
}

void CMainFrame::UpdateCheckMarks() {
  for (const MenuItem& item : kMenuItems) {
    if (!item.checkable) continue;
    if (const auto checked = view_->IsChecked(item.command))
      Action(item.command)->setChecked(*checked);
  }
}

QString CMainFrame::AnalysisText() const {
  return analysisText_->text();
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
