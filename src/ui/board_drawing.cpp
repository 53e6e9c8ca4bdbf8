// The board's picture: background, grid, star points, stones, their numbers, the live analysis's
// ghost stones, the hint, the winning five, Black's forbidden points and the coordinate labels, in
// the picture's coordinates (scale 1 is the view's pixels in a window of its initial size).
#include <QPaintEvent>
#include <QPainter>
#include <array>

#include "rules/renju_rules.h"
#include "ui/czel_view.h"

namespace zel {
namespace {

constexpr QColor kBackground(255, 255, 0);
constexpr QColor kNumberProvenWin(32, 192, 32);  // the last move when its search proved a win
constexpr QColor kNumber(64, 255, 64);
constexpr QColor kForbidden(255, 0, 0);
constexpr QColor kWinningFive(255, 0, 0);
constexpr QColor kHint(0, 0, 255);
constexpr QColor kGhostBlack(0, 0, 0, 112);  // the variation's stones, translucent
constexpr QColor kGhostWhite(255, 255, 255, 160);
constexpr QColor kGhostOutline(0, 0, 0, 96);

constexpr int kGridOrigin = 26;  // centre of point (0, 0)
constexpr int kCellPixels = 19;
constexpr int kGridEnd = kGridOrigin + (kBoardSize - 1) * kCellPixels;
constexpr int kBoxOrigin = 17;  // cell boxes: 19-pixel squares from here
constexpr int kCrossHalf = 4;   // half the width of a forbidden point's cross

constexpr std::array<Point, 5> kStarPoints{{{7, 7}, {3, 3}, {11, 11}, {3, 11}, {11, 3}}};

int Centre(int index) {
  return kGridOrigin + kCellPixels * index;
}

// Text with the top-left corner of its cell at (x, y).
void DrawTextAt(QPainter& painter, int x, int y, const QString& text) {
  painter.drawText(QRect(x, y, 3 * kCellPixels, kCellPixels), Qt::AlignLeft | Qt::AlignTop, text);
}

// Row or column label i (rows counted from the top): "Debug" gives the 0-based index as a
// hexadecimal digit; "Goo" gives rows 1 to 9 then A to F, and columns a to o.
QString Label(int displayMode, bool row, int i) {
  if (displayMode == 1) return QString::number(i, 16).toUpper();
  if (row) return QString::number(i + 1, 16).toUpper();
  return QString(QChar('a' + i));
}

QRect CellBox(Point p) {
  return {kBoxOrigin + kCellPixels * p.col, kBoxOrigin + kCellPixels * p.row, kCellPixels,
          kCellPixels};
}

}  // namespace

void CZelView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The whole view is background, also beside a picture narrower or shorter than the view.
  painter.fillRect(rect(), kBackground);
  painter.setTransform(PictureTransform());
  OnDraw(painter);
}

void CZelView::DrawBoard(QPainter& painter) const {
  // At one device pixel per picture pixel everything is drawn aliased, so that every pixel is
  // where the geometry puts it; at any other scale it is smoothed.
  const double devicePixels = painter.transform().m11() * painter.device()->devicePixelRatioF();
  const bool exact = devicePixels == 1.0;
  painter.setRenderHint(QPainter::Antialiasing, !exact);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(12);
  font.setStyleStrategy(exact ? QFont::NoAntialias : QFont::PreferAntialias);
  painter.setFont(font);
  painter.setBackgroundMode(Qt::TransparentMode);

  // 1. The background.
  painter.fillRect(QRect(0, 0, kPictureSize, kPictureSize), kBackground);

  // 2. The grid. A line covers its start point but not its end point.
  painter.setPen(QPen(Qt::black, 1));
  for (int i = 0; i < kBoardSize; ++i)
    painter.drawLine(kGridOrigin, Centre(i), kGridEnd - 1, Centre(i));
  for (int i = 0; i < kBoardSize; ++i)
    painter.drawLine(Centre(i), kGridOrigin, Centre(i), kGridEnd - 1);

  // 3. The star points: 5-pixel discs.
  painter.setBrush(Qt::black);
  for (const Point p : kStarPoints)
    painter.drawEllipse(QRect(Centre(p.col) - 2, Centre(p.row) - 2, 4, 4));

  // 4. The stones, with the other stones' numbers when they are shown, and 5. the last move's
  // number.
  const int moveCount = game_.moveCount();
  for (int k = 1; k <= moveCount; ++k)
    DrawStone(painter, k % 2 == 1 ? 'b' : 'w', 0, game_.Move(k));
  for (int k = 1; showNumbers_ && k < moveCount; ++k)
    DrawNumber(painter, game_.Move(k), k, k % 2 == 1 ? Qt::white : Qt::black);
  if (moveCount > 0) DrawStone(painter, game_.statusMark(), moveCount, game_.Move(moveCount));
  if (showVariation_) DrawVariation(painter);

  // The 5th moves on offer (or picked for an offer): Black stones marked with a white ring.
  for (const Point p : game_.OfferedMoves()) {
    DrawStone(painter, 'b', 0, p);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPoint(Centre(p.col), Centre(p.row)), 4, 4);
  }

  // The hint: a ring on its point.
  if (const std::optional<Point> hint = game_.hint()) {
    painter.setPen(QPen(kHint, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPoint(Centre(hint->col), Centre(hint->row)), 6, 6);
  }

  // The five that ended the game, struck through from end to end.
  if (const std::vector<Point> five = game_.WinningFive(); !five.empty()) {
    painter.setPen(QPen(kWinningFive, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(Centre(five.front().col), Centre(five.front().row), Centre(five.back().col),
                     Centre(five.back().row));
  }

  // Black's forbidden points, while Black is to move.
  if (showForbidden_ && game_.SideToMove() == kBlack) {
    const VerdictTable verdicts = JudgeBoard(game_.position().board);
    painter.setPen(QPen(kForbidden, 2));
    for (int row = 0; row < kBoardSize; ++row) {
      for (int col = 0; col < kBoardSize; ++col) {
        if (!IsForbidden(verdicts[row][col])) continue;
        const int x = Centre(col);
        const int y = Centre(row);
        painter.drawLine(x - kCrossHalf, y - kCrossHalf, x + kCrossHalf, y + kCrossHalf);
        painter.drawLine(x - kCrossHalf, y + kCrossHalf, x + kCrossHalf, y - kCrossHalf);
      }
    }
  }

  // 6. The labels.
  DrawLabels(painter);
}

void CZelView::DrawLabels(QPainter& painter) const {
  painter.setPen(Qt::black);
  const int mode = game_.displayMode();
  for (int i = 0; i < kBoardSize; ++i) {
    const int top = kBoxOrigin + kCellPixels * i;
    // The Renju rows count from the bottom; their two digits end just left of the stones.
    if (renjuLabels_) {
      painter.drawText(QRect(0, top, kBoxOrigin, kCellPixels), Qt::AlignRight | Qt::AlignTop,
                       QString::number(kBoardSize - i));
    } else {
      DrawTextAt(painter, 5, top, Label(mode, true, i));
    }
  }
  for (int i = 0; i < kBoardSize; ++i)
    DrawTextAt(painter, 23 + kCellPixels * i, 1, Label(renjuLabels_ ? 0 : mode, false, i));
}

void CZelView::DrawVariation(QPainter& painter) const {
  int colour = game_.SideToMove();
  int number = 0;
  for (const Point p : variation_) {
    const bool black = colour == kBlack;
    colour = Opponent(colour);
    ++number;
    if (game_.position().board[p.row][p.col] > kEmpty) continue;
    painter.setPen(QPen(kGhostOutline, 1));
    painter.setBrush(black ? kGhostBlack : kGhostWhite);
    painter.drawEllipse(CellBox(p).adjusted(1, 1, -2, -2));
    DrawNumber(painter, p, number, black ? Qt::white : Qt::black);
  }
}

void CZelView::DrawNumber(QPainter& painter, Point p, int number, const QColor& colour) const {
  const QFont font = painter.font();
  QFont small = font;
  small.setPixelSize(number >= 100 ? 8 : 10);  // three digits within the stone
  painter.setFont(small);
  painter.setPen(colour);
  painter.drawText(CellBox(p).adjusted(1, 1, -1, -1), Qt::AlignCenter, QString::number(number));
  painter.setFont(font);
}

void CZelView::DrawStone(QPainter& painter, char kind, int number, Point p) const {
  const int left = kBoxOrigin + kCellPixels * p.col;
  const int top = kBoxOrigin + kCellPixels * p.row;
  if (kind == 'b' || kind == 'w') {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kind == 'b' ? Qt::black : Qt::white);
    // A 17-pixel disc from (left + 1, top + 1), its outline included.
    painter.drawEllipse(QRect(left + 1, top + 1, 16, 16));
  }
  if (number > 0) {
    painter.setPen(kind == '+' ? kNumberProvenWin : kNumber);
    DrawTextAt(painter, number >= 10 ? left + 2 : left + 5, top, QString::number(number));
  }
}

}  // namespace zel
