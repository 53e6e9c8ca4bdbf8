// The main window: its caption and size, the menu's items and check marks, every command's
// effect, clicks and keys on the board, saving and loading, and input while the computer thinks.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <map>

#include "files/record.h"
#include "files/trace.h"
#include "shell/cabout_dlg.h"
#include "support/window_fixture.h"

namespace zel::test {
namespace {

using namespace std::chrono_literals;

// The checked items among the checkable ones.
std::vector<Command> Checked(CMainFrame& frame) {
  frame.UpdateCheckMarks();
  std::vector<Command> checked;
  for (const MenuItem& item : kMenuItems) {
    if (!item.label.empty() && frame.Action(item.command)->isChecked())
      checked.push_back(item.command);
  }
  return checked;
}

TEST_F(WindowTest, StartsAsANewGameWithTheDefaultsChecked) {
  EXPECT_EQ(frame_.windowTitle(), QStringLiteral("  Deep Kelvo - ver 1.1"));
  EXPECT_EQ(frame_.size(), QSize(318, 373));
  EXPECT_EQ(view_->scale(), 1.0);  // the whole board at scale 1
  EXPECT_EQ(frame_.StatusText(), QStringLiteral("Welcome to Kelvo version"));
  EXPECT_EQ(view_->game().moveCount(), 0);
  EXPECT_EQ(Checked(frame_),
            (std::vector{Command::kBothMan, Command::kBeginner, Command::kNon34, Command::kRandom,
                         Command::kGoo, Command::kForbiddenPoints}));
}

// The menu bar holds the menus and items of the table, in order, with separators between groups.
TEST_F(WindowTest, MenusFollowTheTable) {
  std::vector<std::string> shown;
  for (QAction* menuAction : frame_.menuBar()->actions()) {
    for (QAction* action : menuAction->menu()->actions())
      shown.push_back(menuAction->text().toStdString() + "/" + action->text().toStdString());
  }
  std::vector<std::string> expected;
  for (const MenuItem& item : kMenuItems)
    expected.push_back(std::string(item.menu) + "/" + std::string(item.label));
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(frame_.Action(Command::kSave)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
}

// Each command's effect on the game and the view, and the check marks that follow it.
TEST_F(WindowTest, CommandsSetTheirFieldsAndCheckMarks) {
  Game& game = view_->game();
  const struct {
    Command command;
    std::function<bool()> done;  // the command's effect is there
    std::vector<Command> checked;
  } cases[] = {
      {Command::kBlackComputer,
       [&] {
         return game.blackPlayer() == kComputer && game.moveCount() == 1 &&
                game.Move(1) == Point{7, 7};
       },
       {Command::kBlackComputer, Command::kBeginner, Command::kNon34, Command::kRandom,
        Command::kGoo, Command::kForbiddenPoints}},
      {Command::kWhiteComputer,
       [&] { return game.whitePlayer() == kComputer && game.moveCount() == 0; },
       {Command::kWhiteComputer, Command::kBeginner, Command::kNon34, Command::kRandom,
        Command::kGoo, Command::kForbiddenPoints}},
      {Command::kLevel3,
       [&] { return game.settings().searchLevel == kLevelItems[3].searchLevel; },
       {Command::kWhiteComputer, Command::kLevel3, Command::kNon34, Command::kRandom, Command::kGoo,
        Command::kForbiddenPoints}},
      {Command::kAdvanced,
       [&] { return game.thinkingTime() == kLevelItems[5].thinkingTime; },
       {Command::kWhiteComputer, Command::kAdvanced, Command::kNon34, Command::kRandom,
        Command::kGoo, Command::kForbiddenPoints}},
      {Command::kNon34,
       [&] { return !game.settings().quietMoves; },
       {Command::kWhiteComputer, Command::kAdvanced, Command::kRandom, Command::kGoo,
        Command::kForbiddenPoints}},
      {Command::kRandom,
       [&] { return !game.settings().randomChoice; },
       {Command::kWhiteComputer, Command::kAdvanced, Command::kGoo, Command::kForbiddenPoints}},
      {Command::kTraceOnOff,
       [&] { return game.traceSwitch(); },
       {Command::kWhiteComputer, Command::kAdvanced, Command::kTraceOnOff, Command::kGoo,
        Command::kForbiddenPoints}},
      {Command::kDebug,
       [&] { return game.displayMode() == 1; },
       {Command::kWhiteComputer, Command::kAdvanced, Command::kTraceOnOff, Command::kDebug,
        Command::kForbiddenPoints}},
      {Command::kForbiddenPoints,
       [&] { return !view_->showForbidden(); },
       {Command::kWhiteComputer, Command::kAdvanced, Command::kTraceOnOff, Command::kDebug}},
      {Command::kBeginner,
       [&] { return game.settings().searchLevel == 10 && game.thinkingTime() == 0ms; },
       {Command::kWhiteComputer, Command::kBeginner, Command::kTraceOnOff, Command::kDebug}},
      {Command::kGoo,
       [&] { return game.displayMode() == 0; },
       {Command::kWhiteComputer, Command::kBeginner, Command::kTraceOnOff, Command::kGoo}},
      {Command::kBothMan,
       [&] { return game.whitePlayer() == kMan; },
       {Command::kBothMan, Command::kBeginner, Command::kTraceOnOff, Command::kGoo}},
  };
  for (const auto& c : cases) {
    frame_.Action(c.command)->trigger();
    EXPECT_TRUE(c.done()) << static_cast<int>(c.command);
    EXPECT_EQ(Checked(frame_), c.checked) << static_cast<int>(c.command);
  }
  // Choosing a checked item again keeps it checked, at once; toggles come back.
  frame_.Action(Command::kBeginner)->trigger();
  EXPECT_TRUE(frame_.Action(Command::kBeginner)->isChecked());
  frame_.Action(Command::kNon34)->trigger();
  frame_.Action(Command::kRandom)->trigger();
  EXPECT_TRUE(game.settings().quietMoves && game.settings().randomChoice);
  EXPECT_EQ(Checked(frame_), (std::vector{Command::kBothMan, Command::kBeginner, Command::kNon34,
                                          Command::kRandom, Command::kTraceOnOff, Command::kGoo}));
}

// "Wide", "Misete" and "Norite" change nothing; "New Game" clears the board, keeping the players.
TEST_F(WindowTest, InertItemsAndNewGame) {
  Game& game = view_->game();
  ClickCells("h8 h9 i8");
  const std::vector<Point> before(game.Moves().begin(), game.Moves().end());
  for (const Command command : {Command::kWide, Command::kMisete, Command::kNorite})
    frame_.Action(command)->trigger();
  EXPECT_EQ(std::vector<Point>(game.Moves().begin(), game.Moves().end()), before);
  EXPECT_FALSE(frame_.Action(Command::kWide)->isChecked());
  frame_.Action(Command::kWhiteComputer)->trigger();
  ClickCells("h8");
  EXPECT_EQ(game.moveCount(), 2);
  frame_.Action(Command::kNewGame)->trigger();
  EXPECT_EQ(game.moveCount(), 0);
  EXPECT_EQ(game.whitePlayer(), kComputer);
}

// "Next" makes the computer play the side to move, whoever plays it.
TEST_F(WindowTest, NextPlaysTheSideToMove) {
  Game& game = view_->game();
  ClickCells("h8");
  frame_.Action(Command::kNext)->trigger();
  ASSERT_EQ(game.moveCount(), 2);
  EXPECT_EQ(game.position().board[game.Move(2).row][game.Move(2).col], kWhite);
  frame_.Action(Command::kNext)->trigger();
  EXPECT_EQ(game.moveCount(), 3);
  EXPECT_EQ(frame_.StatusText(), QString::fromUtf8("ﾚﾃﾞｨ"));
  EXPECT_EQ(game.BrokenInvariant(), std::nullopt);
}

// Clicks at the board's pixels: the user's stone, the computer's reply, and the messages.
TEST_F(WindowTest, ClicksPlayTheirCells) {
  Game& game = view_->game();
  frame_.Action(Command::kWhiteComputer)->trigger();
  ClickPicture({159, 159});
  ASSERT_EQ(game.moveCount(), 2);
  EXPECT_EQ(game.Move(1), (Point{7, 7}));
  // A click on a stone, the second press of a double click and a click beside the grid do
  // nothing.
  ClickPicture({159, 159});
  QTest::mouseDClick(view_, Qt::LeftButton, {}, view_->PictureTransform().map(QPoint(30, 30)));
  ClickPicture({310, 310});
  EXPECT_EQ(game.moveCount(), 2);
  // A click in the band left of the first line plays the first column.
  ClickPicture({5, 5});
  EXPECT_EQ(game.Move(3), (Point{0, 0}));
  EXPECT_TRUE(view_->messages.empty());
}

TEST_F(WindowTest, WinAndKinjiteAreShownInMessageBoxes) {
  Game& game = view_->game();
  Load("d8 a1 e8 a3 f8 a5 g8 a7");
  ClickCells("h8");
  EXPECT_EQ(view_->messages, std::vector<std::string>{"Black Won !"});
  // A double three: "Kinjite !", and the stone stands.
  Load("f8 a1 g8 a3 h10 a5 h9 a7");
  view_->messages.clear();
  ClickCells("h8");
  EXPECT_EQ(view_->messages, std::vector<std::string>{"Kinjite !"});
  EXPECT_EQ(game.moveCount(), 9);
}

// Space takes the last stone back and 'n' plays it again, with both players the user.
TEST_F(WindowTest, TakeBackAndReplayKeys) {
  Game& game = view_->game();
  ClickCells("h8 h9 i8");
  QTest::keyClick(view_, ' ');
  QTest::keyClick(view_, ' ');
  EXPECT_EQ(game.moveCount(), 1);
  QTest::keyClick(view_, 'n');
  EXPECT_EQ(game.moveCount(), 2);
  EXPECT_EQ(game.Move(2), Rif("h9")[0]);
  QTest::keyClick(view_, 'N');  // not 'n'
  EXPECT_EQ(game.moveCount(), 2);
}

// "Save" and Ctrl+S write the record; "Load" reads it back; a failed save says why in a box.
TEST_F(WindowTest, SavingAndLoadingTheRecord) {
  Game& game = view_->game();
  ClickCells("h8 h9 i8");
  frame_.Action(Command::kSave)->trigger();
  EXPECT_EQ(LoadRecord(dir_ / "move.txt").moves.size(), 3U);

  ClickCells("i9");  // the fourth stone: the record is written on its own
  ClickCells("j8");
  frame_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&frame_));
  QTest::keyClick(&frame_, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(LoadRecord(dir_ / "move.txt").moves.size(), 5U);

  frame_.Action(Command::kNewGame)->trigger();
  frame_.Action(Command::kLoad)->trigger();
  EXPECT_EQ(game.moveCount(), 5);

  std::filesystem::remove(dir_ / "move.txt");
  std::filesystem::create_directory(dir_ / "move.txt");  // a directory cannot be written over
  frame_.Action(Command::kSave)->trigger();
  ASSERT_EQ(view_->messages.size(), 1U);
  EXPECT_EQ(view_->messages[0].rfind("Cannot save move.txt: ", 0), 0U) << view_->messages[0];
  ClickCells("j9 k8 k9");  // the 8th stone's autosave fails: the status bar says so
  EXPECT_TRUE(frame_.StatusText().startsWith(QStringLiteral("Cannot save move.txt: ")))
      << frame_.StatusText().toStdString();
  EXPECT_EQ(view_->messages.size(), 1U);
}

// The trace menu: the computer's nodes saved in full and short, and loaded back with the last
// move left for 'n'.
TEST_F(WindowTest, TraceFiles) {
  Game& game = view_->game();
  frame_.Action(Command::kTraceOnOff)->trigger();
  Load("g6 g7 h7 h5 h8 i7 j10 i9 j8 j7");
  frame_.Action(Command::kNext)->trigger();
  ASSERT_EQ(game.moveCount(), 11);
  view_->saveAnswers = {dir_ / "full.txt", dir_ / "short.txt"};
  frame_.Action(Command::kTraceSaveFull)->trigger();
  frame_.Action(Command::kTraceSaveShort)->trigger();
  const auto full = std::filesystem::file_size(dir_ / "full.txt");
  const auto brief = std::filesystem::file_size(dir_ / "short.txt");
  EXPECT_GT(full, brief);
  EXPECT_GT(brief, 0U);

  frame_.Action(Command::kNewGame)->trigger();
  view_->openAnswers = {dir_ / "full.txt"};
  frame_.Action(Command::kTraceLoad)->trigger();
  EXPECT_EQ(game.moveCount(), 10);
  QTest::keyClick(view_, 'n');
  EXPECT_EQ(game.moveCount(), 11);
}

// While the computer thinks the window goes on handling events, but clicks, keys and commands do
// not reach the game: the reply is the one of a game without them.
TEST_F(WindowTest, InputWhileTheComputerThinksIsDropped) {
  const char* position = "g6 g7 h7 h5 h8 i7 j10 i9 j8 j7";  // the search runs past depth 6
  HeadlessHost quiet;
  Game reference(quiet, {});
  reference.SeedRandom(1);
  reference.LoadMoves(Rif(position));
  reference.RequestMove();

  Game& game = view_->game();
  Load(position);
  int delivered = 0;
  QTimer::singleShot(0, view_, [&] {
    ++delivered;
    EXPECT_TRUE(game.thinking());
    QTest::mouseClick(view_, Qt::LeftButton, {}, view_->PictureTransform().map(QPoint(30, 30)));
    QTest::keyClick(view_, ' ');
    for (const Command command : {Command::kNewGame, Command::kBlackComputer, Command::kNext,
                                  Command::kLoad, Command::kLevel4, Command::kDebug})
      frame_.Action(command)->trigger();
  });
  frame_.Action(Command::kNext)->trigger();
  EXPECT_EQ(delivered, 1);
  EXPECT_EQ(std::vector<Point>(game.Moves().begin(), game.Moves().end()),
            std::vector<Point>(reference.Moves().begin(), reference.Moves().end()));
  EXPECT_EQ(game.levelIndex(), 0);
  EXPECT_EQ(game.displayMode(), 0);
  EXPECT_EQ(Checked(frame_).front(), Command::kBothMan);
}

// Closing the window while the computer thinks stops the search: no level of it completes, the
// one-ply choice is played at once, and the window closes.
TEST_F(WindowTest, ClosingWhileThinkingEndsTheSearch) {
  Game& game = view_->game();
  frame_.Action(Command::kAdvanced)->trigger();  // a search of up to 1.5 s
  Load("g6 g7 h7 h5 h8 i7 j10 i9 j8 j7");
  QTimer::singleShot(0, &frame_, [&] { frame_.close(); });
  frame_.Action(Command::kNext)->trigger();
  EXPECT_EQ(game.traceCount(), 0);  // the nodes of the last completed level: none
  EXPECT_EQ(game.searchResult(), SearchResult{});
  EXPECT_FALSE(frame_.isVisible());
  EXPECT_EQ(game.moveCount(), 11);
  EXPECT_EQ(game.BrokenInvariant(), std::nullopt);
}

// The About item shows the About box.
TEST_F(WindowTest, AboutShowsTheAboutBox) {
  QString caption;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
      caption = box->windowTitle();
      box->accept();
    }
  });
  frame_.Action(Command::kAbout)->trigger();
  EXPECT_EQ(caption, QString::fromUtf8("Zelのﾊﾞｰｼﾞｮﾝ情報"));
}

// The view's own message box: modal, with the application's caption and an OK button.
TEST(WindowMessages, MessageBoxHasTheCaption) {
  CZelView view(nullptr, ScratchDir("window_message") / "move.txt");
  QString caption;
  QString text;
  bool modal = false;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      caption = box->windowTitle();
      text = box->text();
      modal = box->isModal() && box->buttons().size() == 1;
      box->accept();
    }
  });
  view.ShowMessage("Black Won !");
  EXPECT_EQ(caption, QStringLiteral("version 1.1"));
  EXPECT_EQ(text, QStringLiteral("Black Won !"));
  EXPECT_TRUE(modal);
}

// zel --help and --version answer without a display; anything else unknown is refused.
TEST(WindowProgram, CommandLine) {
  const std::string program = ZEL_WINDOW_PATH;
  const CliRun help = RunProgram(program, "--help", 10);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: zel", 0), 0U) << help.out;
  const CliRun version = RunProgram("env DISPLAY= " + program, "--version", 10);
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "zel 1.1\n");
  const CliRun unknown = RunProgram("env QT_QPA_PLATFORM=offscreen " + program, "--frobnicate", 10);
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("unknown argument '--frobnicate'"), std::string::npos) << unknown.err;
}

}  // namespace
}  // namespace zel::test
