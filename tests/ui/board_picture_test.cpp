// The board's picture, read back from the painted view: colours of the background, grid, star
// points, stones and the last move's number, the two label styles, Black's forbidden points, and
// the scaling of a resized window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <set>

#include "rules/renju_rules.h"
#include "support/window_fixture.h"

namespace zel::test {
namespace {

const QColor kYellow(255, 255, 0);
const QColor kBlackColour(0, 0, 0);
const QColor kWhiteColour(255, 255, 255);
const QColor kLightGreen(64, 255, 64);
const QColor kDarkGreen(32, 192, 32);
const QColor kRed(255, 0, 0);

// The picture's pixels of one colour inside a rectangle of the picture.
std::vector<QPoint> PixelsOf(const QImage& image, const QTransform& transform, QRect area,
                             QColor colour) {
  std::vector<QPoint> found;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixelColor(transform.map(QPoint(x, y))) == colour) found.push_back({x, y});
    }
  }
  return found;
}

// The cell box of p: the 19-pixel square its stone is drawn in.
QRect CellBox(Point p) {
  return {17 + 19 * p.col, 17 + 19 * p.row, 19, 19};
}

TEST_F(WindowTest, ColoursOfTheBoard) {
  ClickCells("h8 i9");  // Black at the centre star point, White beside it
  const QImage image = Grab();
  EXPECT_EQ(PixelAt(image, {2, 300}), kYellow);                         // background
  EXPECT_EQ(PixelAt(image, {26 + 19 * 3, 26 + 19 * 3}), kBlackColour);  // star point d12
  EXPECT_EQ(PixelAt(image, {26 + 19 * 3 + 3, 26 + 19 * 3 + 3}), kYellow);
  EXPECT_EQ(PixelAt(image, {26 + 19 * 5, 26 + 19 * 2 + 1}), kBlackColour);  // a grid line
  EXPECT_EQ(PixelAt(image, {26 + 19 * 5 + 1, 26 + 19 * 2 + 1}), kYellow);
  EXPECT_EQ(PixelAt(image, {292, 292}), kYellow);  // the grid's lines stop short of their end
  EXPECT_EQ(PixelAt(image, {291, 292}), kBlackColour);
  // The Black stone: black all over its disc; the White one: white inside a black outline.
  const QPoint black = CellCentre({7, 7});
  EXPECT_EQ(PixelAt(image, black + QPoint(-6, 0)), kBlackColour);
  const Point whitePoint = Rif("i9")[0];
  const QRect whiteBox = CellBox(whitePoint);
  EXPECT_EQ(PixelAt(image, whiteBox.topLeft() + QPoint(3, 9)), kWhiteColour);
  EXPECT_EQ(PixelAt(image, whiteBox.topLeft() + QPoint(1, 9)), kBlackColour);  // outline
  EXPECT_EQ(PixelAt(image, whiteBox.topLeft() + QPoint(0, 5)), kYellow);
  // The last move's number, in the lighter green, on the last stone only.
  EXPECT_FALSE(PixelsOf(image, view_->PictureTransform(), whiteBox, kLightGreen).empty());
  EXPECT_TRUE(PixelsOf(image, view_->PictureTransform(), CellBox({7, 7}), kLightGreen).empty());
}

// A computer move whose search proved a win carries its number in the darker green; the next
// stone's number is the lighter one again.
TEST_F(WindowTest, ProvenWinIsMarkedInDarkGreen) {
  Load("d8 a1 e8 a3 f8 a5 g8 a7");
  frame_.Action(Command::kNext)->trigger();
  ASSERT_EQ(view_->game().moveCount(), 9);
  ASSERT_EQ(view_->game().statusMark(), '+');
  const QRect box = CellBox(view_->game().Move(9));
  QImage image = Grab();
  EXPECT_FALSE(PixelsOf(image, view_->PictureTransform(), box, kDarkGreen).empty());
  EXPECT_TRUE(PixelsOf(image, view_->PictureTransform(), box, kLightGreen).empty());
  ClickCells("o1");
  image = Grab();
  EXPECT_TRUE(PixelsOf(image, view_->PictureTransform(), box, kDarkGreen).empty());
  EXPECT_FALSE(
      PixelsOf(image, view_->PictureTransform(), CellBox(Rif("o1")[0]), kLightGreen).empty());
}

// Numbers from 10 on start further left in their box than numbers below 10.
TEST_F(WindowTest, TwoDigitNumbersStartFurtherLeft) {
  const auto leftmost = [&](int moves) {
    Load("h8 h9 i8 i9 j8 j9 a1 a2 a3 a4 a5");
    for (int k = 11; k > moves; --k)
      view_->game().TakeBack();
    const QRect box = CellBox(view_->game().Move(moves));
    int left = 99;
    for (const QPoint p : PixelsOf(Grab(), view_->PictureTransform(), box, kLightGreen))
      left = std::min(left, p.x() - box.left());
    return left;
  };
  const int nine = leftmost(9);
  const int ten = leftmost(10);
  EXPECT_GE(nine, 5);
  EXPECT_LT(ten, nine);
}

// "Goo" labels rows 1 to 9, A to F and columns a to o; "Debug" labels both 0 to 9, A to E. So
// Goo's row label i is drawn exactly as Debug's row label i + 1, and no column label is the same.
TEST_F(WindowTest, LabelStyles) {
  const QTransform at = view_->PictureTransform();
  const auto rowLabel = [&](const QImage& image, int i) {
    return image.copy(at.mapRect(QRect(0, 17 + 19 * i, 16, 19)));
  };
  const auto columnLabel = [&](const QImage& image, int i) {
    return image.copy(at.mapRect(QRect(19 + 19 * i, 0, 16, 16)));
  };
  const QImage goo = Grab();
  frame_.Action(Command::kDebug)->trigger();
  const QImage debug = Grab();
  for (int i = 0; i + 1 < kBoardSize; ++i)
    EXPECT_EQ(rowLabel(goo, i), rowLabel(debug, i + 1)) << "row " << i;
  for (int i = 0; i < kBoardSize; ++i) {
    EXPECT_NE(rowLabel(goo, i), rowLabel(debug, i)) << "row " << i;
    EXPECT_NE(columnLabel(goo, i), columnLabel(debug, i)) << "column " << i;
  }
  EXPECT_NE(rowLabel(goo, 14), rowLabel(goo, 13));  // "F" after "E"
}

// Black's forbidden points are crossed in red while Black is to move, and each crossed point is
// one where a click gives "Kinjite !".
TEST_F(WindowTest, ForbiddenPointsAreCrossed) {
  // Black threes that cross at h8 (a double three) and a four-four at l4 (j4 k4 m4 with l2 l3
  // l5).
  const char* position = "f8 a1 g8 a3 h10 a5 h9 a7 j4 o15 k4 o13 m4 o11 l2 o9 l3 n15 l5 n13";
  Load(position);
  const auto crossed = [&] {
    std::set<std::pair<int, int>> points;
    const QImage image = Grab();
    for (int row = 0; row < kBoardSize; ++row) {
      for (int col = 0; col < kBoardSize; ++col) {
        if (PixelAt(image, CellCentre({row, col}) + QPoint(2, 2)) == kRed)
          points.insert({row, col});
      }
    }
    return points;
  };
  const auto shown = crossed();
  EXPECT_TRUE(shown.count({7, 7})) << "h8";
  EXPECT_TRUE(shown.count({11, 11})) << "l4";
  // Every empty point: crossed exactly when a click there gives "Kinjite !".
  for (int row = 0; row < kBoardSize; ++row) {
    for (int col = 0; col < kBoardSize; ++col) {
      if (view_->game().position().board[row][col] > 0) continue;
      view_->messages.clear();
      ClickPicture(CellCentre({row, col}));
      const bool kinjite = view_->messages == std::vector<std::string>{"Kinjite !"};
      EXPECT_EQ(shown.count({row, col}) == 1, kinjite) << row << "," << col;
      view_->game().TakeBack();
    }
  }
  // Switched off, or with White to move, no cross.
  frame_.Action(Command::kForbiddenPoints)->trigger();
  EXPECT_TRUE(crossed().empty());
  frame_.Action(Command::kForbiddenPoints)->trigger();
  EXPECT_EQ(crossed(), shown);
  ClickCells("o1");
  EXPECT_TRUE(crossed().empty());
}

// A resized window draws the board scaled uniformly, and maps clicks back through the same scale.
TEST_F(WindowTest, ResizedWindowScalesTheBoard) {
  frame_.resize(700, 900);
  QApplication::processEvents();
  ASSERT_GT(view_->scale(), 2.0);
  ClickCells("d12 l4");
  EXPECT_EQ(view_->game().Move(1), (Point{3, 3}));
  EXPECT_EQ(view_->game().Move(2), (Point{11, 11}));
  const QImage image = Grab();
  EXPECT_EQ(PixelAt(image, CellCentre({3, 3}) + QPoint(-6, 0)), kBlackColour);
  EXPECT_EQ(PixelAt(image, CellCentre({11, 11}) + QPoint(-6, 0)), kWhiteColour);
  EXPECT_EQ(image.pixelColor(2, 2), kYellow);
  // Clicks in the margin beside the picture play nothing.
  QTest::mouseClick(view_, Qt::LeftButton, {}, QPoint(view_->width() / 2, 1));
  EXPECT_EQ(view_->game().moveCount(), 2);

  frame_.resize(200, 200);
  QApplication::processEvents();
  ASSERT_LT(view_->scale(), 1.0);
  ClickCells("h8");
  EXPECT_EQ(view_->game().Move(3), (Point{7, 7}));
}

}  // namespace
}  // namespace zel::test
