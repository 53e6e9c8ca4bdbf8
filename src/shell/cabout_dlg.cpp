#include "shell/cabout_dlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "shell/app_icon.h"

namespace zel {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Zelのﾊﾞｰｼﾞｮﾝ情報"));
  auto* icon = new QLabel(this);
  icon->setPixmap(AppIcon().pixmap(32, 32));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(new QLabel(QStringLiteral("Zel Version 1.0"), this), 0, 1);
  layout->addWidget(
      new QLabel(QStringLiteral("Renju against a threat-space search, on Qt %1").arg(qVersion()),
                 this),
      1, 1);
  layout->addWidget(ok, 0, 2, Qt::AlignTop);
  layout->setColumnStretch(1, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace zel
