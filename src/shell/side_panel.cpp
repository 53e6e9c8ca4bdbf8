#include "shell/side_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <array>

namespace zel {
namespace {

// The panel's buttons, row by row, with their short labels.
struct Button {
  Command command;
  const char* label;
  int row;
  int column;
};
constexpr std::array kButtons{
    Button{Command::kHome, "|<", 0, 0},
    Button{Command::kBack, "<", 0, 1},
    Button{Command::kForward, ">", 0, 2},
    Button{Command::kEnd, ">|", 0, 3},
    Button{Command::kHint, "Hint", 1, 0},
    Button{Command::kCopyPosition, "Copy", 1, 1},
    Button{Command::kPastePosition, "Paste", 1, 2},
};
// The switches, one a row under the buttons, named as their menu items.
constexpr std::array kSwitches{Command::kLiveAnalysis, Command::kShowVariation,
                               Command::kStoneNumbers, Command::kRenjuLabels};
// Advanced's time a move, a row of buttons of which the checked one is the setting.
constexpr std::array<std::pair<Command, const char*>, 5> kTimes{{{Command::kTime1, "1 s"},
                                                                 {Command::kTime2, "2 s"},
                                                                 {Command::kTime5, "5 s"},
                                                                 {Command::kTime10, "10 s"},
                                                                 {Command::kTime30, "30 s"}}};

}  // namespace

SidePanel::SidePanel(const std::function<QAction*(Command)>& action, QWidget* parent)
    : QDockWidget(QStringLiteral("Analysis"), parent), report_(new QLabel) {
  setObjectName(QStringLiteral("sidePanel"));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  auto* body = new QWidget(this);
  auto* grid = new QGridLayout(body);
  // A tool button takes its text, tip, check mark and trigger from its action; the action's
  // short text is what the button shows.
  const auto makeButton = [&](Command command, const char* label) {
    QAction* item = action(command);
    item->setIconText(QString::fromUtf8(label));
    auto* button = new QToolButton(body);
    button->setDefaultAction(item);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    controls_[command] = button;
    return button;
  };
  for (const Button& button : kButtons)
    grid->addWidget(makeButton(button.command, button.label), button.row, button.column);
  int row = 2;
  for (const Command command : kSwitches) {
    QAction* item = action(command);
    auto* box = new QCheckBox(item->text(), body);
    box->setToolTip(item->statusTip());
    box->setChecked(item->isChecked());
    connect(box, &QCheckBox::clicked, item, &QAction::trigger);
    // The action's mark, set from the view after the trigger, corrects the box's own toggle.
    connect(item, &QAction::toggled, box, &QCheckBox::setChecked);
    grid->addWidget(box, row++, 0, 1, 4);
    controls_[command] = box;
  }
  grid->addWidget(new QLabel(QStringLiteral("Advanced's time a move:"), body), row++, 0, 1, 4);
  auto* times = new QHBoxLayout;
  for (const auto& [command, label] : kTimes)
    times->addWidget(makeButton(command, label));
  grid->addLayout(times, row++, 0, 1, 4);
  report_->setWordWrap(true);
  report_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  report_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  report_->setMinimumHeight(4 * report_->fontMetrics().height());
  grid->addWidget(report_, row, 0, 1, 4);
  grid->setRowStretch(row, 1);
  setWidget(body);
}

void SidePanel::SetReport(const QString& text) {
  report_->setText(text);
}

QString SidePanel::ReportText() const {
  return report_->text();
}

QAbstractButton* SidePanel::Control(Command command) const {
  const auto it = controls_.find(command);
  return it == controls_.end() ? nullptr : it->second;
}

}  // namespace zel
