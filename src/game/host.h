// The game's window onto the platform. The Qt view implements it; tests use a recording fake.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace zel {

class Host {
 public:
  virtual ~Host() = default;
  // Replaces the text of the status bar's message pane.
  virtual void ShowStatus(std::string_view text) = 0;
  // Shows a modal message box with an OK button and the application's title as its caption;
  // returns when the user has closed it.
  virtual void ShowMessage(std::string_view text) = 0;
  // The board's picture is out of date: repaint it.
  virtual void Repaint() = 0;
  // Handles one pending window message, if there is one (repaints, and input, which the game
  // drops while the computer thinks).
  virtual void PumpOneMessage() = 0;
  // Asks the user for a file to read, or for a file to write (asking before an existing file is
  // overwritten); a name without extension gets defaultExtension. Nothing when cancelled.
  virtual std::optional<std::filesystem::path> AskOpenPath(std::string_view defaultExtension) = 0;
  virtual std::optional<std::filesystem::path> AskSavePath(std::string_view defaultExtension) = 0;
  // Asks a question answered yes or no (whether to swap colours in an opening); true for yes.
  // Without a window the answer is no.
  virtual bool AskYesNo(std::string_view) { return false; }
  // Asks for a whole number from low to high (how many 5th moves to offer); nothing when
  // cancelled, as it always is without a window.
  virtual std::optional<int> AskNumber(std::string_view, int, int) { return std::nullopt; }
};

// A host without a window, for the command line, benchmarks and fuzzing: text goes nowhere,
// nothing is pending and every dialog is cancelled.
class HeadlessHost : public Host {
 public:
  void ShowStatus(std::string_view) override {}
  void ShowMessage(std::string_view) override {}
  void Repaint() override {}
  void PumpOneMessage() override {}
  std::optional<std::filesystem::path> AskOpenPath(std::string_view) override { return {}; }
  std::optional<std::filesystem::path> AskSavePath(std::string_view) override { return {}; }
};

}  // namespace zel
