// The About box.
#pragma once

#include <QDialog>

namespace zel {

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace zel
