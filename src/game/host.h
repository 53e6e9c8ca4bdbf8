// The game's window onto the platform. The Qt view implements it; tests use a recording fake.
#pragma once

#include <string_view>

namespace zel {

class Host {
 public:
  virtual ~Host() = default;
  // Replaces the text of the status bar's message pane.
  virtual void ShowStatus(std::string_view text) = 0;
};

}  // namespace zel
