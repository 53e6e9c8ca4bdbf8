#include "brain/session.h"

#include <utility>

namespace zel {

Session::Session(std::ostream& out, BrainOptions options)
    : brain_(out, options), engine_([this] { Run(); }) {}

Session::~Session() {
  if (engine_.joinable()) Leave();
}

bool Session::Submit(std::string line, Clock::time_point received) {
  const std::string command = CommandOf(line);
  if (command == "END") {
    Leave();
    return false;
  }
  const bool stop = command == "STOP" || command == "YXSTOP";
  {
    const std::lock_guard lock(mutex_);
    if (leaving_) return false;
    // A stop holds until the engine reaches it in the queue: the search in progress, and those
    // of the commands before it, end at once.
    if (stop && ++pendingStops_ == 1) brain_.SetStop(true);
    queue_.push_back({std::move(line), received, stop});
  }
  wake_.notify_one();
  return true;
}

void Session::Finish() {
  {
    const std::lock_guard lock(mutex_);
    inputEnded_ = true;
  }
  wake_.notify_one();
  if (engine_.joinable()) engine_.join();
}

void Session::Leave() {
  {
    const std::lock_guard lock(mutex_);
    leaving_ = true;
    brain_.Silence();
    brain_.SetStop(true);
  }
  wake_.notify_one();
  if (engine_.joinable()) engine_.join();
}

void Session::Run() {
  for (;;) {
    Line line;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return leaving_ || inputEnded_ || !queue_.empty(); });
      if (leaving_ || queue_.empty()) return;
      line = std::move(queue_.front());
      queue_.pop_front();
      if (line.stop && --pendingStops_ == 0) brain_.SetStop(false);
    }
    if (!brain_.HandleLine(line.text, line.received)) return;
  }
}

}  // namespace zel
