// A Host that records the status texts and messages, answers the dialogs with the paths, yes/no
// answers and numbers queued (none: cancelled, or no), and runs onPump at every pump: input the
// window dispatches during a search.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>

#include "game/host.h"

namespace zel::test {

struct RecordingHost final : Host {
  using Path = std::optional<std::filesystem::path>;
  void ShowStatus(std::string_view text) override { statuses.emplace_back(text); }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void Repaint() override {}
  void PumpOneMessage() override { ++pumps, onPump ? onPump() : void(); }
  Path AskOpenPath(std::string_view extension) override { return AskSavePath(extension); }
  Path AskSavePath(std::string_view) override {
    if (answers.empty()) return std::nullopt;
    const Path answer = answers.front();
    answers.pop_front();
    return answer;
  }

  bool AskYesNo(std::string_view) override { return !yes.empty() && Pop(yes); }
  std::optional<int> AskNumber(std::string_view, int, int) override {
    return numbers.empty() ? std::nullopt : std::optional<int>(Pop(numbers));
  }
  template <typename T>
  static T Pop(std::deque<T>& queue) {
    const T front = queue.front();
    queue.pop_front();
    return front;
  }

  std::vector<std::string> statuses, messages;
  std::deque<std::filesystem::path> answers;
  std::deque<bool> yes;
  std::deque<int> numbers;
  std::function<void()> onPump;
  int pumps = 0;
};

}  // namespace zel::test
