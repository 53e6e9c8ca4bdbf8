// A Host that records what the game asked of the window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "game/host.h"

namespace zel::test {

class RecordingHost final : public Host {
 public:
  void ShowStatus(std::string_view text) override { statuses.emplace_back(text); }

  std::vector<std::string> statuses;
};

}  // namespace zel::test
