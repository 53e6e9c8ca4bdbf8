// The main window: the menu, the board view, the live analysis's side panel and the status bar with
// its message pane.
#pragma once

#include <QMainWindow>
#include <map>

#include "shell/czel_doc.h"
#include "ui/commands.h"
#include "ui/czel_view.h"

class QAction;
class QDockWidget;
class QLabel;

namespace zel {

// The main window's own title, shown after the document's.
inline constexpr std::string_view kFrameTitle = "ver 1.1";
// The initial size of the main window, which shows the board at scale 1.
inline constexpr QSize kInitialFrameSize{318, 373};

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // The window around a view: a new one (with the record "move.txt" in the current directory)
  // unless one is given.
  explicit CMainFrame(CZelView* view = nullptr);

  CZelView& view() { return *view_; }
  // The menu item of a command.
  QAction* Action(Command command) const { return actions_.at(command); }
  // The text of the status bar's message pane.
  QString StatusText() const;
  // The side panel of the live analysis, and its text.
  QDockWidget* AnalysisPanel() const { return analysisPanel_; }
  QString AnalysisText() const;

  // Sets every item's check mark from the view, as a menu does before it opens.
  void UpdateCheckMarks();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void ShowAbout();

  CZelDoc doc_;
  CZelView* view_;
  QLabel* messagePane_;
  QDockWidget* analysisPanel_;
  QLabel* analysisText_;
  std::map<Command, QAction*> actions_;
  bool closePending_ = false;  // closing waits for the computer's move
};

}  // namespace zel
