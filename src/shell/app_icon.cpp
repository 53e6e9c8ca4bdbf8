#include "shell/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace zel {
namespace {

// The icon at side x side pixels, drawn on a 64-unit square.
QPixmap IconPixmap(int side) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(side / 64.0, side / 64.0);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 0));
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 8, 8);
  painter.setPen(QPen(Qt::black, 2));
  for (int i = 0; i < 3; ++i) {
    const double at = 14 + 18 * i;
    painter.drawLine(QPointF(at, 6), QPointF(at, 58));
    painter.drawLine(QPointF(6, at), QPointF(58, at));
  }
  painter.setBrush(Qt::black);
  painter.drawEllipse(QPointF(32, 32), 9, 9);
  painter.setBrush(Qt::white);
  painter.drawEllipse(QPointF(50, 14), 9, 9);
  return pixmap;
}

}  // namespace

QIcon AppIcon() {
  QIcon icon;
  for (const int side : {16, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(IconPixmap(side));
  return icon;
}

}  // namespace zel
