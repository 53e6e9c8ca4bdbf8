// The main window: the menu, the board view, the side panel of the Analysis menu's commands and the
// live analysis, and the status bar with its message pane.
#pragma once

#include <QMainWindow>
#include <map>

#include "shell/czel_doc.h"
#include "shell/side_panel.h"
#include "ui/commands.h"
#include "ui/czel_view.h"

class QAction;
class QLabel;

namespace zel {

// The main window's own title, shown after the document's.
inline constexpr std::string_view kFrameTitle = "ver 1.1";
// The initial size of the main window, which shows the board at scale 1 (the side panel hidden).
inline constexpr QSize kInitialFrameSize{318, 373};

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // The window around a view: a new one (with the record "move.txt" in the current directory)
  // unless one is given.
  explicit CMainFrame(CZelView* view = nullptr);
  ~CMainFrame() override;

  CZelView& view() { return *view_; }
  // The menu item of a command.
  QAction* Action(Command command) const { return actions_.at(command); }
  // The text of the status bar's message pane.
  QString StatusText() const;
  // The side panel, and the live analysis's text in it.
  SidePanel* Panel() const { return sidePanel_; }
  QString AnalysisText() const { return sidePanel_->ReportText(); }
  // Shows or hides the side panel ("Side Panel"); the window widens by the panel's width, or
  // narrows back, so that the board keeps its size.
  void ShowPanel(bool shown);

  // Sets every item's check mark from the view, as a menu does before it opens.
  void UpdateCheckMarks();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void ShowAbout();
  // Follows the panel's showing and hiding (its own close button included) with the check mark and
  // the window's width.
  void OnPanelVisibility(bool visible);
  // The width of the separator between the panel and the board.
  int SeparatorWidth() const;

  CZelDoc doc_;
  CZelView* view_;
  QLabel* messagePane_;
  std::map<Command, QAction*> actions_;
  SidePanel* sidePanel_ = nullptr;
  bool closePending_ = false;  // closing waits for the computer's move
};

}  // namespace zel
