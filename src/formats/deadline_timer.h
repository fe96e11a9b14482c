// Absolute deadlines for the waits of a live device: each wait ends at the
// previous wait's deadline plus its own length, so the time spent sending
// messages, and a sleep that wakes a little late, never add up into drift.
#pragma once
#include <cstdint>

namespace formats {

// A pause between two waits longer than this (a prompt, the end of a
// piece) restarts the timeline from the present, so that the notes after
// it never rush to catch up.
constexpr uint64_t kCatchUpWindowUs = 20000;
// A sleep that woke later than this past its deadline (the machine stalled)
// is not caught up either: the notes would rush through the time lost.
constexpr uint64_t kLongestCatchUpUs = 200000;

class DeadlineTimer {
 public:
  // The deadline (microseconds, same time base as `nowUs`) at which a wait
  // of `ms` milliseconds starting at `nowUs` ends.
  uint64_t Next(uint64_t nowUs, uint32_t ms);
  // Tells when the sleep to the last deadline returned.
  void Woke(uint64_t nowUs) { wokeUs_ = nowUs; }

 private:
  bool started_ = false;
  uint64_t deadlineUs_ = 0;
  uint64_t wokeUs_ = 0;
};

}  // namespace formats
