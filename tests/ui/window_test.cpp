// The window, on Qt's offscreen platform: clicks to cells through the scaled picture, the menu and
// its check marks, the painted board read back, messages and dialogs, and closing while the
// computer thinks. The game's own rules for input are tested with the game.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <deque>
#include <set>

#include "files/record.h"
#include "shell/cmain_frame.h"
#include "support/positions.h"
#include "support/run_cli.h"

namespace zel::test {
namespace {

// A view whose messages and file dialogs are answered by the test, through the Host seam.
class TestView : public CZelView {
 public:
  explicit TestView(std::filesystem::path record) : CZelView(nullptr, std::move(record)) {}
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  std::optional<std::filesystem::path> AskOpenPath(std::string_view) override { return Next(); }
  std::optional<std::filesystem::path> AskSavePath(std::string_view) override { return Next(); }

  std::vector<std::string> messages;
  std::deque<std::filesystem::path> paths;  // the dialogs' answers; none cancels

 private:
  std::optional<std::filesystem::path> Next() {
    if (paths.empty()) return {};
    const auto path = paths.front();
    paths.pop_front();
    return path;
  }
};

const QColor kYellow(255, 255, 0), kBlackPen(0, 0, 0), kWhitePen(255, 255, 255);
const QColor kGreen(64, 255, 64), kDarkGreen(32, 192, 32), kRed(255, 0, 0);

// The centre of a cell, and the 19-pixel box its stone is drawn in, in the picture.
QPoint Centre(Point p) {
  return {26 + 19 * p.col, 26 + 19 * p.row};
}
QRect Box(Point p) {
  return {17 + 19 * p.col, 17 + 19 * p.row, 19, 19};
}

class Window : public ::testing::Test {
 protected:
  Window()
      : dir_(ScratchDir(std::string("window_") +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name())),
        view_(new TestView(dir_ / "move.txt")),
        frame_(view_),
        game_(view_->game()) {
    game_.SeedRandom(1);
    frame_.show();
    QApplication::processEvents();
  }

  void Click(QPoint at) {
    QTest::mouseClick(view_, Qt::LeftButton, {}, view_->PictureTransform().map(at));
  }
  void Play(std::string_view cells) {
    for (const Point p : Rif(cells))
      Click(Centre(p));
  }
  void Do(Command command) { frame_.Action(command)->trigger(); }
  QImage Grab() const { return view_->grab().toImage(); }
  // The painted view's colour at a point of the picture.
  QColor At(const QImage& image, QPoint at) const {
    return image.pixelColor(view_->PictureTransform().map(at));
  }
  bool Shows(const QImage& image, QRect box, QColor colour) const {
    for (int y = box.top(); y <= box.bottom(); ++y) {
      for (int x = box.left(); x <= box.right(); ++x) {
        if (At(image, {x, y}) == colour) return true;
      }
    }
    return false;
  }
  // The points crossed in red.
  std::set<std::pair<int, int>> Crossed() const {
    std::set<std::pair<int, int>> crossed;
    const QImage image = Grab();
    for (int k = 0; k < kBoardSize * kBoardSize; ++k) {
      if (At(image, Centre({k / 15, k % 15}) + QPoint(2, 2)) == kRed)
        crossed.insert({k / 15, k % 15});
    }
    return crossed;
  }
  // The checked items' labels, as the menu shows them now.
  std::string Checked() const {
    std::string labels;
    for (const MenuItem& item : kMenuItems) {
      if (item.checkable && frame_.Action(item.command)->isChecked())
        labels += std::string(labels.empty() ? "" : ", ") + std::string(item.label);
    }
    return labels;
  }

  std::filesystem::path dir_;
  TestView* view_;  // owned by the frame
  CMainFrame frame_;
  Game& game_;
};

TEST_F(Window, Picture) {
  Play("h8 i9");  // Black on the centre star point, White beside it
  const QImage image = Grab();
  const struct {
    QPoint at;
    QColor colour;
  } pixels[] = {
      {{2, 300}, kYellow},  // the background
      {{83, 83}, kBlackPen},
      {{86, 86}, kYellow},  // the star point d12
      {{121, 65}, kBlackPen},
      {{122, 65}, kYellow},  // a grid line
      {{291, 292}, kBlackPen},
      {{292, 292}, kYellow},                              // which ends short of its end
      {Centre({7, 7}) + QPoint(-6, 0), kBlackPen},        // Black's stone
      {Box({6, 8}).topLeft() + QPoint(3, 9), kWhitePen},  // White's stone,
      {Box({6, 8}).topLeft() + QPoint(1, 9), kBlackPen},  // its outline
      {Box({6, 8}).topLeft() + QPoint(0, 5), kYellow},
  };
  for (const auto& p : pixels)
    EXPECT_EQ(At(image, p.at), p.colour) << p.at.x() << "," << p.at.y();
  // The last move's number, on the last stone only.
  EXPECT_TRUE(Shows(image, Box({6, 8}), kGreen));
  EXPECT_FALSE(Shows(image, Box({7, 7}), kGreen));
}

// The computer's five: the number in the darker green of a proven win, and the message.
TEST_F(Window, ProvenWin) {
  game_.LoadMoves(Rif("d8 a1 e8 a3 f8 a5 g8 a7"));
  Do(Command::kNext);
  ASSERT_EQ(game_.moveCount(), 9);
  EXPECT_TRUE(Shows(Grab(), Box(game_.Move(9)), kDarkGreen));
  EXPECT_FALSE(Shows(Grab(), Box(game_.Move(9)), kGreen));
  EXPECT_EQ(view_->messages, std::vector<std::string>{"Black Won !"});
}

// "Goo" labels rows 1 to 9, A to F and columns a to o; "Debug" both 0 to 9, A to E. So Goo's row
// label i is drawn as Debug's i + 1, and no column label is the same.
TEST_F(Window, Labels) {
  const QTransform at = view_->PictureTransform();
  const auto row = [&](const QImage& image, int i) {
    return image.copy(at.mapRect(QRect(0, 17 + 19 * i, 16, 19)));
  };
  const auto column = [&](const QImage& image, int i) {
    return image.copy(at.mapRect(QRect(19 + 19 * i, 0, 16, 16)));
  };
  const QImage goo = Grab();
  Do(Command::kDebug);
  const QImage debug = Grab();
  for (int i = 0; i < kBoardSize; ++i) {
    EXPECT_TRUE(i == 14 || row(goo, i) == row(debug, i + 1)) << i;
    EXPECT_NE(row(goo, i), row(debug, i)) << i;
    EXPECT_NE(column(goo, i), column(debug, i)) << i;
  }
}

// Black's forbidden points are crossed while Black is to move, and while the menu item is on.
TEST_F(Window, ForbiddenPointsAreCrossed) {
  // A double three at h8 (f8 g8 and h9 h10); a double four at l4 (j4 k4 m4 and l2 l3 l5).
  game_.LoadMoves(Rif("f8 a1 g8 a3 h10 a5 h9 a7 j4 o15 k4 o13 m4 o11 l2 o9 l3 n15 l5 n13"));
  const std::set<std::pair<int, int>> crosses = {{7, 7}, {11, 11}};
  EXPECT_EQ(Crossed(), crosses);
  Play("h8");
  EXPECT_EQ(view_->messages, std::vector<std::string>{"Kinjite !"});
  EXPECT_EQ(game_.moveCount(), 21);
  EXPECT_TRUE(Crossed().empty());  // White to move
  QTest::keyClick(view_, ' ');     // takes h8 back
  EXPECT_EQ(Crossed(), crosses);
  Do(Command::kForbiddenPoints);
  EXPECT_TRUE(Crossed().empty());
}

// Clicks go to the cell under them in the picture as it is scaled; a double click's second press,
// a stone and the margins play nothing.
TEST_F(Window, ClicksPlayTheirCells) {
  Click({159, 159});
  Click({159, 159});
  QTest::mouseDClick(view_, Qt::LeftButton, {}, view_->PictureTransform().map(QPoint(30, 30)));
  Click({310, 310});
  Click({5, 5});  // the band left of and above the grid: a15
  EXPECT_EQ(std::vector<Point>(game_.Moves().begin(), game_.Moves().end()), Rif("h8 a15"));
  frame_.resize(700, 900);
  QApplication::processEvents();
  ASSERT_GT(view_->scale(), 2.0);
  Play("d12");
  QTest::mouseClick(view_, Qt::LeftButton, {}, QPoint(view_->width() / 2, 1));  // beside the board
  EXPECT_EQ(game_.moveCount(), 3);
  EXPECT_EQ(game_.Move(3), Rif("d12")[0]);
  EXPECT_EQ(At(Grab(), Centre(Rif("d12")[0]) + QPoint(-6, 0)), kBlackPen);
  frame_.resize(200, 200);
  QApplication::processEvents();
  ASSERT_LT(view_->scale(), 1.0);
  Play("l4");
  EXPECT_EQ(game_.Move(4), Rif("l4")[0]);
}

// The menu bar shows the table's items in order; each item's command, and the check marks as
// they are after it (a checked item chosen again stays checked).
TEST_F(Window, MenuItemsAndCheckMarks) {
  std::vector<std::string> shown, table;
  for (QAction* menu : frame_.menuBar()->actions()) {
    for (QAction* action : menu->menu()->actions())
      shown.push_back(menu->text().toStdString() + "/" + action->text().toStdString());
  }
  for (const MenuItem& item : kMenuItems)
    table.push_back(std::string(item.menu) + "/" + std::string(item.label));
  EXPECT_EQ(shown, table);
  EXPECT_EQ(frame_.Action(Command::kSave)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(Checked(), "B: Man  W: Man, Beginner, Non 3/4, Random, Goo, Forbidden Points");
  const struct {
    Command command;
    bool (*done)(const Game&);
    const char* checked;
  } cases[] = {
      {Command::kBlackComputer,
       [](const Game& g) {
         return g.Move(1) == Point{7, 7};
       },
       "B: Cmp  W: Man, Beginner, Non 3/4, Random, Goo, Forbidden Points"},
      {Command::kWhiteComputer, [](const Game& g) { return g.moveCount() == 0; },
       "B: Man  W: Cmp, Beginner, Non 3/4, Random, Goo, Forbidden Points"},
      {Command::kLevel3, [](const Game& g) { return g.levelIndex() == 3; },
       "B: Man  W: Cmp, Level 3, Non 3/4, Random, Goo, Forbidden Points"},
      {Command::kAdvanced, [](const Game& g) { return g.levelIndex() == 5; },
       "B: Man  W: Cmp, Advanced, Non 3/4, Random, Goo, Forbidden Points"},
      {Command::kNon34, [](const Game& g) { return !g.settings().quietMoves; },
       "B: Man  W: Cmp, Advanced, Random, Goo, Forbidden Points"},
      {Command::kRandom, [](const Game& g) { return !g.settings().randomChoice; },
       "B: Man  W: Cmp, Advanced, Goo, Forbidden Points"},
      {Command::kTraceOnOff, [](const Game& g) { return g.traceSwitch(); },
       "B: Man  W: Cmp, Advanced, On / Off, Goo, Forbidden Points"},
      {Command::kDebug, [](const Game& g) { return g.displayMode() == 1; },
       "B: Man  W: Cmp, Advanced, On / Off, Debug, Forbidden Points"},
      {Command::kForbiddenPoints, [](const Game&) { return true; },
       "B: Man  W: Cmp, Advanced, On / Off, Debug"},
      {Command::kBeginner, [](const Game& g) { return g.levelIndex() == 0; },
       "B: Man  W: Cmp, Beginner, On / Off, Debug"},
      {Command::kBeginner, [](const Game& g) { return g.levelIndex() == 0; },
       "B: Man  W: Cmp, Beginner, On / Off, Debug"},
      {Command::kGoo, [](const Game& g) { return g.displayMode() == 0; },
       "B: Man  W: Cmp, Beginner, On / Off, Goo"},
      {Command::kRandom, [](const Game& g) { return g.settings().randomChoice; },
       "B: Man  W: Cmp, Beginner, Random, On / Off, Goo"},
      {Command::kBothMan, [](const Game& g) { return g.whitePlayer() == kMan; },
       "B: Man  W: Man, Beginner, Random, On / Off, Goo"},
  };
  for (const auto& c : cases) {
    Do(c.command);
    EXPECT_TRUE(c.done(game_)) << static_cast<int>(c.command);
    EXPECT_EQ(Checked(), c.checked) << static_cast<int>(c.command);
  }
  EXPECT_FALSE(view_->showForbidden());
}

// The file items: Save (also Ctrl+S) and Load the record, a failed save shown in a box; the trace
// saved in full and short and loaded back; Next and New Game; and the items that do nothing.
TEST_F(Window, FileItems) {
  Play("h8 h9 i8");
  for (const Command command : {Command::kWide, Command::kMisete, Command::kNorite})
    Do(command);
  frame_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame_));
  QTest::keyClick(&frame_, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(LoadRecord(dir_ / "move.txt").moves, Rif("h8 h9 i8"));
  Do(Command::kTraceOnOff);
  Do(Command::kNext);
  view_->paths = {dir_ / "full.txt", dir_ / "short.txt", dir_ / "full.txt"};
  Do(Command::kTraceSaveFull);
  Do(Command::kTraceSaveShort);
  EXPECT_GT(std::filesystem::file_size(dir_ / "full.txt"),
            std::filesystem::file_size(dir_ / "short.txt"));
  Do(Command::kNewGame);
  Do(Command::kTraceLoad);  // all moves but the last
  EXPECT_EQ(game_.moveCount(), 3);
  Do(Command::kLoad);  // the record as the fourth stone wrote it
  EXPECT_EQ(game_.moveCount(), 4);
  std::filesystem::remove(dir_ / "move.txt");
  std::filesystem::create_directory(dir_ / "move.txt");  // cannot be written over
  Do(Command::kSave);
  ASSERT_EQ(view_->messages.size(), 1U);
  EXPECT_TRUE(view_->messages[0].starts_with("Cannot save move.txt: ")) << view_->messages[0];
}

// Closing the window while the computer thinks stops the search: no level of it completes, the
// one-ply choice is played at once, and the window closes.
TEST_F(Window, ClosingWhileThinkingEndsTheSearch) {
  Do(Command::kAdvanced);  // a search of up to 1.5 s
  game_.LoadMoves(Rif("g6 g7 h7 h5 h8 i7 j10 i9 j8 j7"));
  QTimer::singleShot(0, &frame_, [&] { frame_.close(); });
  Do(Command::kNext);
  EXPECT_EQ(game_.traceCount(), 0);
  EXPECT_EQ(game_.moveCount(), 11);
  EXPECT_FALSE(frame_.isVisible());
}

// The real message box and the About box: modal, with their captions.
TEST(WindowDialogs, Captions) {
  CMainFrame frame(new CZelView(nullptr, ScratchDir("window_dialogs") / "move.txt"));
  std::vector<QString> shown;
  const auto answer = [&] {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      auto* box = qobject_cast<QMessageBox*>(dialog);
      shown.push_back(dialog->windowTitle() + (box ? ": " + box->text() : QString()));
      dialog->accept();
    });
  };
  answer();
  frame.view().ShowMessage("Black Won !");
  answer();
  frame.Action(Command::kAbout)->trigger();
  EXPECT_EQ(shown, (std::vector<QString>{QStringLiteral("version 1.1: Black Won !"),
                                         QString::fromUtf8("Zelのﾊﾞｰｼﾞｮﾝ情報")}));
}

// The program: the version without a display, and an unknown argument refused.
TEST(WindowProgram, CommandLine) {
  EXPECT_EQ(RunProgram("env DISPLAY= " ZEL_WINDOW_PATH, "--version", 10).out, "zel 1.1\n");
  const CliRun unknown = RunProgram("env QT_QPA_PLATFORM=offscreen " ZEL_WINDOW_PATH, "-x", 10);
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(unknown.err.find("zel: unknown argument '-x'\nUsage: zel") != std::string::npos) << unknown.err;
}

}  // namespace
}  // namespace zel::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
