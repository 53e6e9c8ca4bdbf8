// A Host that records what the game asked of the window, answers its dialogs from queues set up
// in advance, and can deliver input from inside the search's message pump.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/host.h"

namespace zel::test {

class RecordingHost final : public Host {
 public:
  void ShowStatus(std::string_view text) override {
    statuses.emplace_back(text);
    events.push_back("status " + std::string(text));
  }
  void ShowMessage(std::string_view text) override {
    messages.emplace_back(text);
    events.push_back("message " + std::string(text));
  }
  void Repaint() override {
    ++repaints;
    events.emplace_back("repaint");
  }
  void PumpOneMessage() override {
    ++pumps;
    if (onPump) onPump();
  }
  std::optional<std::filesystem::path> AskOpenPath(std::string_view extension) override {
    return Answer(openAnswers, "open", extension);
  }
  std::optional<std::filesystem::path> AskSavePath(std::string_view extension) override {
    return Answer(saveAnswers, "save", extension);
  }

  std::vector<std::string> statuses;
  std::vector<std::string> messages;
  std::vector<std::string> events;  // "status T", "message T", "repaint", "open txt", "save txt"
  int repaints = 0;
  int pumps = 0;
  // What the next dialogs answer; an empty queue cancels.
  std::deque<std::optional<std::filesystem::path>> openAnswers;
  std::deque<std::optional<std::filesystem::path>> saveAnswers;
  // Called at every pump: input the window would dispatch in the middle of a search.
  std::function<void()> onPump;

 private:
  std::optional<std::filesystem::path> Answer(
      std::deque<std::optional<std::filesystem::path>>& answers, const char* kind,
      std::string_view extension) {
    events.push_back(std::string(kind) + " " + std::string(extension));
    if (answers.empty()) return std::nullopt;
    std::optional<std::filesystem::path> answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace zel::test
