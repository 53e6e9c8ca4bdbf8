// pbrain-zel's two threads: the caller's reads the input and hands each line over at once; the
// engine's thread handles them in order, one at a time, so a command that arrives while the
// engine thinks waits for the answer in progress. Only STOP and YXSTOP (the search in progress,
// or the next one of a command sent before them, ends with its best move so far) and END (the
// engine leaves at once, answering nothing more) act before their turn.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include "brain/brain.h"

namespace zel {

class Session {
 public:
  using Clock = Brain::Clock;

  explicit Session(std::ostream& out, BrainOptions options = {});
  // Leaves as END does, if the session has not finished.
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Hands over one input line that arrived at `received`; false after END.
  bool Submit(std::string line, Clock::time_point received = Clock::now());
  // The end of the input: returns once every line handed over has been handled.
  void Finish();

 private:
  struct Line {
    std::string text;
    Clock::time_point received;
    bool stop = false;
  };

  void Run();
  // END: the engine stops, answers nothing more, and its thread ends.
  void Leave();

  Brain brain_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Line> queue_;
  int pendingStops_ = 0;  // STOP lines handed over and not yet reached in the queue
  bool inputEnded_ = false;
  bool leaving_ = false;
  std::thread engine_;
};

}  // namespace zel
