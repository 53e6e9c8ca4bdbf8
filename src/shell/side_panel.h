// The side panel beside the board: buttons and switches for the Analysis menu's commands, and the
// live analysis's report. Each control stands for its menu item's action: it triggers that
// action and shows its check mark, so that the panel and the menu share one path.
#pragma once

#include <QDockWidget>
#include <functional>
#include <map>

#include "ui/commands.h"

class QAbstractButton;
class QAction;
class QLabel;

namespace zel {

class SidePanel : public QDockWidget {
  Q_OBJECT

 public:
  // A panel whose controls trigger the actions `action` gives for their commands.
  SidePanel(const std::function<QAction*(Command)>& action, QWidget* parent);

  // The live analysis's text.
  void SetReport(const QString& text);
  QString ReportText() const;
  // The control of a command, or nothing for a command the panel does not hold.
  QAbstractButton* Control(Command command) const;

 private:
  QLabel* report_;
  std::map<Command, QAbstractButton*> controls_;
};

}  // namespace zel
