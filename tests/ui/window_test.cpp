// The window on Qt's offscreen platform: clicks, the menu, the painted board, messages and file
// dialogs, and closing while the computer thinks. The game's input is tested with the game.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QBitmap>
#include <QClipboard>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <sstream>
#include <thread>

#include "files/move_text.h"
#include "files/record.h"
#include "shell/cmain_frame.h"
#include "support/positions.h"
#include "support/run_cli.h"

namespace zel::test {
namespace {

// A view whose message boxes and file dialogs are answered by the test, through the Host seam.
class TestView : public CZelView {
 public:
  using CZelView::CZelView;
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  std::optional<std::filesystem::path> AskOpenPath(std::string_view) override { return path; }
  std::optional<std::filesystem::path> AskSavePath(std::string_view) override { return path; }
  bool AskYesNo(std::string_view) override { return yes; }

  std::vector<std::string> messages;
  bool yes = false;                           // the answer to every yes/no question
  std::optional<std::filesystem::path> path;  // the file dialogs' answer; none cancels
};

const QColor kYellow(255, 255, 0), kBlackPen(0, 0, 0), kWhitePen(255, 255, 255);
const QColor kGreen(64, 255, 64), kRed(255, 0, 0);

// A cell's centre, and the 19-pixel box its stone is drawn in, in the picture.
const auto Centre = [](Point p) { return QPoint(26 + 19 * p.col, 26 + 19 * p.row); };
QRect Box(Point p) {
  return {17 + 19 * p.col, 17 + 19 * p.row, 19, 19};
}
QRect Box(std::string_view cell) {
  return Box(Rif(cell)[0]);
}

// Runs the window's events until the condition holds, 10 s at most; says whether it came.
const auto Eventually = [](auto condition) { return QTest::qWaitFor(condition, 10'000); };

class Window : public ::testing::Test {
 protected:
  Window() : view_(new TestView(nullptr, dir_ / "move.txt")), frame_(view_), game_(view_->game()) {
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
    for (int k = 0; k < box.width() * box.height(); ++k) {
      if (At(image, box.topLeft() + QPoint(k % box.width(), k / box.width())) == colour)
        return true;
    }
    return false;
  }
  // The points crossed in red, row by row.
  std::vector<Point> Crossed() const {
    std::vector<Point> crossed;
    const QImage image = Grab();
    for (int k = 0; k < kBoardSize * kBoardSize; ++k) {
      const Point p{k / kBoardSize, k % kBoardSize};
      if (At(image, Centre(p) + QPoint(2, 2)) == kRed) crossed.push_back(p);
    }
    return crossed;
  }

  std::filesystem::path dir_ =
      ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
  TestView* view_;  // owned by the frame
  CMainFrame frame_;
  Game& game_;
};

TEST_F(Window, PaintedBoard) {
  Play("h8 i9");  // Black on the centre star point, White beside it
  const QImage image = Grab();
  // The background; the star point d12 and beside it; a grid line and beside it; the grid's end,
  // short of the last point; Black's stone; White's, its outline, and beside it.
  const std::pair<QPoint, QColor> pixels[] = {
      {{2, 300}, kYellow},     {{83, 83}, kBlackPen},   {{86, 86}, kYellow},
      {{121, 65}, kBlackPen},  {{122, 65}, kYellow},    {{291, 292}, kBlackPen},
      {{292, 292}, kYellow},   {{153, 159}, kBlackPen}, {{172, 140}, kWhitePen},
      {{170, 140}, kBlackPen}, {{169, 136}, kYellow}};
  for (const auto& [at, colour] : pixels)
    EXPECT_EQ(At(image, at), colour) << at.x() << "," << at.y();
  // The last move's number, on the last stone only.
  EXPECT_TRUE(Shows(image, Box("i9"), kGreen));
  EXPECT_FALSE(Shows(image, Box("h8"), kGreen));
}

// "Stone Numbers" writes every stone's number in the other colour (the last one's stays green);
// the five that ends the game is struck through in red, also at twice the size; a hint is ringed.
TEST_F(Window, StoneNumbersHintAndTheWinningFive) {
  const auto inner = [](std::string_view cell) { return Box(cell).adjusted(5, 5, -5, -5); };
  Play("h8 a1 i8 a2 j8 a3 k8 a4");
  for (const bool on : {false, true}) {
    const QImage image = Grab();
    EXPECT_EQ(Shows(image, inner("h8"), kWhitePen), on);
    EXPECT_EQ(Shows(image, inner("a1"), kBlackPen), on);
    EXPECT_TRUE(Shows(image, Box("a4"), kGreen));
    EXPECT_FALSE(Shows(image, Box("j8"), kRed));
    Do(Command::kStoneNumbers);
  }
  Do(Command::kStoneNumbers);
  Play("l8");
  frame_.resize(636, 690);
  QApplication::processEvents();
  for (const char* cell : {"h8", "j8", "l8"})
    EXPECT_EQ(At(Grab(), Centre(Rif(cell)[0])), kRed) << cell;
  // A hint is ringed in blue on its point: White's five at g8 or l8.
  game_.LoadMoves(Rif("a1 h8 a3 i8 a5 j8 o15 k8 o1"));
  ASSERT_TRUE(game_.SetAdvancedTime(std::chrono::milliseconds(100)));
  Do(Command::kHint);
  EXPECT_TRUE(Shows(Grab(), Box("g8"), QColor(0, 0, 255)) ||
              Shows(Grab(), Box("l8"), QColor(0, 0, 255)));
  EXPECT_NE(At(Grab(), Centre(Rif("a4")[0]) + QPoint(4, 0)), kRed);
}

// "Goo" labels rows 1 to 9, A to F and columns a to o; "Debug" both 0 to 9, A to E. So Goo's row
// label i is drawn as Debug's i + 1, and no column label is the same. "Renju Labels" writes Goo's
// columns and rows 15 to 1 from the top, over either mode, until a mode is chosen again.
TEST_F(Window, Labels) {
  const QTransform at = view_->PictureTransform();
  const auto label = [&](const QImage& image, bool row, int i) {
    return image.copy(
        at.mapRect(row ? QRect(0, 17 + 19 * i, 17, 19) : QRect(19 + 19 * i, 0, 16, 16)));
  };
  const auto ink = [](const QImage& image) {  // the black, wherever it is aligned
    return image.copy(
        QRegion(QBitmap::fromImage(image.createMaskFromColor(kBlackPen.rgb(), Qt::MaskOutColor)))
            .boundingRect());
  };
  const QImage goo = Grab();
  Do(Command::kDebug);
  const QImage debug = Grab();
  Do(Command::kRenjuLabels);
  const QImage renju = Grab();
  for (int i = 0; i < kBoardSize; ++i) {
    EXPECT_TRUE(i == 14 || label(goo, true, i) == label(debug, true, i + 1)) << i;
    EXPECT_NE(label(goo, true, i), label(debug, true, i)) << i;
    EXPECT_NE(label(goo, false, i), label(debug, false, i)) << i;
    EXPECT_EQ(label(renju, false, i), label(goo, false, i)) << i;
    const QImage row = ink(label(renju, true, i));  // 15 to 10 wider than any of 1 to 9
    EXPECT_TRUE(i < 6 ? row.width() > ink(label(goo, true, 0)).width()
                      : row == ink(label(goo, true, 14 - i)))
        << i;
  }
  Do(Command::kGoo);
  EXPECT_EQ(Grab(), goo);
}

// Black's forbidden points are crossed while Black is to move, and while the menu item is on.
TEST_F(Window, ForbiddenPointsAreCrossed) {
  // A double three at h8 (f8 g8 and h9 h10); a double four at l4 (j4 k4 m4 and l2 l3 l5).
  game_.LoadMoves(Rif("f8 a1 g8 a3 h10 a5 h9 a7 j4 o15 k4 o13 m4 o11 l2 o9 l3 n15 l5 n13"));
  EXPECT_EQ(Crossed(), Rif("h8 l4"));
  Play("h8");
  EXPECT_EQ(view_->messages, std::vector<std::string>{"Kinjite !"});
  EXPECT_EQ(Crossed(), std::vector<Point>{});  // White to move
  QTest::keyClick(view_, ' ');                 // takes h8 back
  EXPECT_EQ(Crossed(), Rif("h8 l4"));
  Do(Command::kForbiddenPoints);
  EXPECT_EQ(Crossed(), std::vector<Point>{});
}

// Clicks go to the cell under them in the picture as it is scaled; a double click's second press,
// a stone and the margins play nothing.
TEST_F(Window, ClicksPlayTheirCells) {
  Click({159, 159});
  Click({159, 159});
  QTest::mouseDClick(view_, Qt::LeftButton, {}, view_->PictureTransform().map(QPoint(60, 60)));
  Click({310, 310});
  Click({5, 5});  // the band left of and above the grid: a15
  EXPECT_EQ(std::vector<Point>(game_.Moves().begin(), game_.Moves().end()), Rif("h8 a15"));
  frame_.resize(700, 900);
  QApplication::processEvents();
  ASSERT_GT(view_->scale(), 2.0);
  Play("d12");
  QTest::mouseClick(view_, Qt::LeftButton, {}, QPoint(view_->width() / 2, 1));  // beside the board
  EXPECT_EQ(std::vector<Point>(game_.Moves().begin(), game_.Moves().end()), Rif("h8 a15 d12"));
  EXPECT_EQ(At(Grab(), Centre(Rif("d12")[0]) + QPoint(-6, 0)), kBlackPen);
  frame_.resize(200, 200);
  QApplication::processEvents();
  ASSERT_LT(view_->scale(), 1.0);
  Play("l4");
  EXPECT_EQ(game_.Move(4), Rif("l4")[0]);
}

// The menu bar shows the table's items in order; each item's check mark follows the state it
// stands for at once (data/check_marks.txt).
TEST_F(Window, MenuAndCheckMarks) {
  std::vector<std::string> shown, table;
  for (QAction* menu : frame_.menuBar()->actions()) {
    for (QAction* action : menu->menu()->actions())
      shown.push_back(menu->text().toStdString() + "/" + action->text().toStdString());
  }
  for (const MenuItem& item : kMenuItems)
    table.push_back(std::string(item.menu) + "/" + std::string(item.label));
  EXPECT_EQ(shown, table);
  std::istringstream marks(ReadFile(ZEL_UI_DATA_DIR "/check_marks.txt"));
  int lines = 0;
  for (std::string line; std::getline(marks, line); ++lines) {
    if (line.starts_with("#")) continue;
    const size_t arrow = line.find(" => ");
    for (const MenuItem& item : kMenuItems) {
      if (item.checkable && item.label == line.substr(0, arrow)) Do(item.command);
    }
    std::string checked;
    for (const MenuItem& item : kMenuItems) {
      if (item.checkable && frame_.Action(item.command)->isChecked())
        checked += std::string(checked.empty() ? "" : ", ") + std::string(item.label);
    }
    EXPECT_EQ(checked, line.substr(arrow + 4)) << line;
  }
  EXPECT_GT(lines, 20);
}

// Ctrl+S writes the record and Load reads it; the trace is saved where the dialog says and loaded
// back.
TEST_F(Window, FileItems) {
  Play("h8 h9 i8");
  frame_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame_));
  QTest::keyClick(&frame_, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(LoadRecord(dir_ / "move.txt").moves, Rif("h8 h9 i8"));
  Do(Command::kTraceOnOff);
  Do(Command::kNext);  // the fourth stone, which writes the record too
  view_->path = dir_ / "trace.txt";
  Do(Command::kTraceSaveFull);
  Do(Command::kTraceLoad);  // all moves but the last
  EXPECT_EQ(game_.moveCount(), 3);
  Do(Command::kLoad);
  EXPECT_EQ(game_.moveCount(), 4);
}

// RIF between two people: clicks place the opening, a stone outside its square and a 5th move on
// a stone are refused with the reason, the swap is answered in its dialog, the status bar says what
// is asked, the offered 5th moves are drawn as ringed Black stones until White keeps one, and the
// game goes on; saving writes the opening's steps beside the record.
TEST_F(Window, RifBetweenTwoPeople) {
  Do(Command::kRif);
  view_->yes = true;
  Play("h8 j10 i9 j10");
  EXPECT_EQ(view_->statusText(), "White (first player): place the 4th stone anywhere");
  Play("g9 k12 h8 g7");  // the offer of h8, on a stone, is refused: k12 stays picked
  EXPECT_EQ(view_->messages,
            (std::vector<std::string>{"The 2nd stone must be within the central 3 x 3",
                                      "There is already a stone on h8"}));
  const QImage offered = Grab();
  for (const Point p : Rif("k12 g7")) {
    EXPECT_EQ(At(offered, Centre(p) + QPoint(-4, -4)), kBlackPen);
    EXPECT_EQ(At(offered, Centre(p) + QPoint(4, 0)), kWhitePen);
  }
  Play("g7 a1");
  EXPECT_EQ(std::vector<Point>(game_.Moves().begin(), game_.Moves().end()),
            Rif("h8 i9 j10 g9 g7 a1"));
  EXPECT_EQ(At(Grab(), Centre(Rif("k12")[0]) + QPoint(-4, -4)), kYellow);
  Do(Command::kSave);
  EXPECT_EQ(
      ReadFile(dir_ / "move.opening.txt"),
      "rule rif\nplace h8\nplace i9\nplace j10\nswap yes\nplace g9\noffer k12 g7\nchoose g7\n");
}

// The arrows, Home and End move through the game against the computer, a step going to the user's
// turn; the computer replies only to the user's next stone, which cuts the line there.
TEST_F(Window, NavigationKeys) {
  Do(Command::kWhiteComputer);
  Play("a1 a15");
  frame_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame_));
  const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Left, 2},
                                           {Qt::Key_Left, 0},
                                           {Qt::Key_End, 4},
                                           {Qt::Key_Home, 0},
                                           {Qt::Key_Right, 2}};
  for (const auto& [key, count] : steps) {
    QTest::keyClick(view_, key);
    EXPECT_EQ(game_.moveCount(), count) << key;
  }
  Play("o1");
  EXPECT_EQ(game_.moveCount(), 4);
  EXPECT_EQ(game_.Line().size(), 4U);
  EXPECT_EQ(game_.Move(3), Rif("o1")[0]);
}

// Ctrl+Shift+C copies the moves on the board in board notation; Ctrl+Shift+V sets up the game the
// clipboard holds, or says why it cannot and leaves the game as it was.
TEST_F(Window, CopyAndPastePosition) {
  Play("h8 i9 j10");
  frame_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame_));
  QTest::keyClick(view_, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "h8 i9 j10");
  for (const auto& [text, moves] : {std::pair{"a1b2", "a1 b2"}, std::pair{"a1 b2 a1", "a1 b2"},
                                    std::pair{"7,7\n8,6", "h8 i9"}}) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(view_, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(std::vector<Point>(game_.Moves().begin(), game_.Moves().end()), Rif(moves)) << text;
  }
  EXPECT_EQ(view_->messages,
            std::vector<std::string>{"Cannot paste the position: move 3 (a1) is on a stone"});
}

// The side panel shows and hides by its menu item and its close button, the board keeping its size;
// its controls are their menu items; Live Analysis shows and fills it, and stops as the window
// closes.
TEST_F(Window, SidePanelAndLiveAnalysis) {
  ASSERT_TRUE(frame_.size() == kInitialFrameSize && view_->scale() == 1.0);
  SidePanel& panel = *frame_.Panel();
  Do(Command::kSidePanel);
  QApplication::processEvents();  // the layout
  EXPECT_TRUE(panel.isVisible() && frame_.Action(Command::kSidePanel)->isChecked());
  EXPECT_TRUE(frame_.width() > kInitialFrameSize.width() && view_->scale() == 1.0);
  panel.close();
  EXPECT_FALSE(frame_.Action(Command::kSidePanel)->isChecked());
  EXPECT_TRUE(Eventually([&] { return frame_.size() == kInitialFrameSize; }));
  Play("h8 i9 j10");
  panel.Control(Command::kBack)->click();
  EXPECT_EQ(game_.moveCount(), 2);
  panel.Control(Command::kStoneNumbers)->click();
  EXPECT_TRUE(view_->showNumbers() && frame_.Action(Command::kStoneNumbers)->isChecked());
  Do(Command::kStoneNumbers);
  EXPECT_FALSE(panel.Control(Command::kStoneNumbers)->isChecked());
  panel.Control(Command::kTime10)->click();
  EXPECT_TRUE(game_.advancedTime() == std::chrono::seconds(10) &&
              panel.Control(Command::kTime10)->isChecked() &&
              !panel.Control(Command::kTime2)->isChecked());
  panel.Control(Command::kLiveAnalysis)->click();
  EXPECT_TRUE(panel.isVisible() && panel.Control(Command::kLiveAnalysis)->isChecked());
  ASSERT_TRUE(Eventually([&] { return frame_.AnalysisText().contains("(Black to move)\ndepth"); }));
  Do(Command::kLiveAnalysis);
  EXPECT_FALSE(view_->analysing() || panel.Control(Command::kLiveAnalysis)->isChecked());
  EXPECT_EQ(frame_.AnalysisText(), "Live Analysis is off.");
  Do(Command::kLiveAnalysis);
  frame_.close();
  EXPECT_FALSE(view_->liveAnalysis() || view_->analysing());
}

// The live analysis pauses as the computer starts its move and resumes on the position after it.
TEST_F(Window, LiveAnalysisPausesWhileTheComputerThinks) {
  Do(Command::kAdvanced);
  ASSERT_TRUE(game_.SetAdvancedTime(std::chrono::milliseconds(200)));
  Do(Command::kWhiteComputer);
  Do(Command::kLiveAnalysis);
  int paused = 0;
  QObject scope;
  QObject::connect(view_, &CZelView::StatusTextChanged, &scope, [&] {
    if (game_.thinking())
      paused += !view_->analysing() && frame_.AnalysisText() == "Paused while the computer thinks.";
  });
  Play("h8");
  EXPECT_TRUE(paused > 0 && game_.moveCount() == 2);
  ASSERT_TRUE(
      Eventually([&] { return view_->analysing() && frame_.AnalysisText().contains("nodes/s"); }));
}

// "Show Variation": the analysis's line as translucent numbered stones, by turns from the side to
// move; gone with the switch, the position (stale reports too) and the analysis.
TEST_F(Window, VariationAsGhostStones) {
  const auto ghosts = [&](const std::vector<Point>& line) {
    const QImage image = Grab();
    std::string seen;  // b or w a translucent stone with its number, - none
    for (const Point p : line) {
      const QColor c = At(image, Centre(p) + QPoint(-3, -6));
      const bool black = c.blue() == 0 && c.red() > 0 && c.red() < 255;
      const bool white = c.red() == 255 && c.blue() > 0 && c.blue() < 255;
      const bool numbered =
          Shows(image, Box(p).adjusted(5, 5, -5, -5), black ? kWhitePen : kBlackPen);
      seen += c == kYellow ? '-' : (black || white) && numbered ? "wb"[black] : '?';
    }
    return seen;
  };
  Play("h8 i9");
  Do(Command::kShowVariation);
  Do(Command::kLiveAnalysis);
  ASSERT_TRUE(Eventually([&] { return view_->variation().size() >= 3; }));
  const std::vector<Point> line = view_->variation();
  EXPECT_EQ(ghosts(line).substr(0, 3), "bwb");
  Do(Command::kShowVariation);
  EXPECT_EQ(ghosts(line), std::string(line.size(), '-'));
  Do(Command::kShowVariation);
  ASSERT_EQ(std::count(line.begin(), line.end(), Rif("a1")[0]), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // reports of h8 i9 wait in queue
  QObject scope;
  QString texts;
  QObject::connect(view_, &CZelView::AnalysisChanged, &scope,
                   [&](const QString& t) { texts += t; });
  Play("a1");
  EXPECT_EQ(ghosts(line), std::string(line.size(), '-'));
  ASSERT_TRUE(Eventually([&] { return view_->variation().size() >= 2; }));
  EXPECT_FALSE(texts.contains("Black to move")) << texts.toStdString();  // none of h8 i9 shown
  const std::vector<Point> next = view_->variation();
  EXPECT_EQ(ghosts(next).substr(0, 2), "wb");
  Do(Command::kLiveAnalysis);
  EXPECT_EQ(ghosts(next), std::string(next.size(), '-'));
}

// The program: its version without a display, and an unknown argument refused.
TEST(WindowProgram, CommandLine) {
  EXPECT_EQ(RunProgram("env DISPLAY= " ZEL_WINDOW_PATH, "--version", 10).out, "zel 1.1\n");
  const CliRun unknown = RunProgram("env QT_QPA_PLATFORM=offscreen " ZEL_WINDOW_PATH, "-x", 10);
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("zel: unknown argument '-x'\nUsage: zel"), std::string::npos);
}

// The caption as an X server holds it, which the toolkit may lengthen after windowTitle().
TEST(WindowProgram, CaptionOnX11) {
  if (std::system("command -v xvfb-run xwininfo xprop >/dev/null") != 0)
    GTEST_SKIP() << "needs xvfb-run, xwininfo and xprop (scripts/install-deps)";
  const CliRun run =
      RunProgram("xvfb-run -a " ZEL_UI_DATA_DIR "/window_title.sh", ZEL_WINDOW_PATH, 60);
  EXPECT_EQ(run.out,
            "WM_NAME(STRING) = \"  Deep Kelvo - ver 1.1\"\n"
            "_NET_WM_NAME(UTF8_STRING) = \"  Deep Kelvo - ver 1.1\"\n");
}

}  // namespace
}  // namespace zel::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
