// Absolute deadlines for the waits of a live device: each wait ends at the
// previous wait's deadline plus its own length, so the time spent sending
// messages between waits never adds up into drift.
#pragma once
#include <cstdint>

namespace platform {

// A wait that starts later than this after the previous deadline (a prompt,
// a pause) restarts the timeline from the present, so that the notes after
// it never rush to catch up.
constexpr uint64_t kCatchUpWindowUs = 20000;

class DeadlineTimer {
 public:
  // The deadline (microseconds, same time base as `nowUs`) at which a wait
  // of `ms` milliseconds starting at `nowUs` ends.
  uint64_t Next(uint64_t nowUs, uint32_t ms);
  // Forgets the timeline: the next wait starts from its present.
  void Reset() { started_ = false; }

 private:
  bool started_ = false;
  uint64_t deadlineUs_ = 0;
};

}  // namespace platform
