// A main window for tests: its view answers message boxes and file dialogs from the test, through
// the Host seam, so that nothing blocks; the record goes to a scratch directory.
#pragma once

#include <QApplication>
#include <QTest>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "shell/cmain_frame.h"
#include "support/positions.h"
#include "support/run_cli.h"
#include "ui/czel_view.h"

namespace zel::test {

class TestView : public CZelView {
 public:
  explicit TestView(std::filesystem::path recordPath) : CZelView(nullptr, std::move(recordPath)) {}

  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  std::optional<std::filesystem::path> AskOpenPath(std::string_view) override {
    return Next(openAnswers);
  }
  std::optional<std::filesystem::path> AskSavePath(std::string_view) override {
    return Next(saveAnswers);
  }

  std::vector<std::string> messages;
  std::deque<std::filesystem::path> openAnswers;  // an empty queue cancels
  std::deque<std::filesystem::path> saveAnswers;

 private:
  static std::optional<std::filesystem::path> Next(std::deque<std::filesystem::path>& answers) {
    if (answers.empty()) return {};
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// The centre of a cell in the board's picture.
inline QPoint CellCentre(Point p) {
  return {26 + 19 * p.col, 26 + 19 * p.row};
}

class WindowTest : public ::testing::Test {
 protected:
  WindowTest()
      : dir_(ScratchDir(std::string("window_") +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name())),
        view_(new TestView(dir_ / "move.txt")),
        frame_(view_) {
    view_->game().SeedRandom(1);
    frame_.show();
    QApplication::processEvents();
  }

  // A left click on the view at a point of the board's picture.
  void ClickPicture(QPoint at) {
    QTest::mouseClick(view_, Qt::LeftButton, {}, view_->PictureTransform().map(at));
  }
  void ClickCells(std::string_view cells) {
    for (const Point p : Rif(cells))
      ClickPicture(CellCentre(p));
  }
  void Load(std::string_view cells) {
    const auto moves = Rif(cells);
    view_->game().LoadMoves(moves);
  }
  // The view as it is painted, at the picture's point `at`.
  QColor PixelAt(const QImage& image, QPoint at) const {
    return image.pixelColor(view_->PictureTransform().map(at));
  }
  QImage Grab() const { return view_->grab().toImage(); }

  std::filesystem::path dir_;
  TestView* view_;  // owned by the frame
  CMainFrame frame_;
};

}  // namespace zel::test
