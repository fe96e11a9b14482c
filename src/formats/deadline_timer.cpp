#include "formats/deadline_timer.h"

namespace formats {

uint64_t DeadlineTimer::Next(uint64_t nowUs, uint32_t ms) {
  bool paused = nowUs > wokeUs_ + kCatchUpWindowUs;
  bool stalled = nowUs > deadlineUs_ + kLongestCatchUpUs;
  // A present before the last wake-up: the time base moved under the device.
  bool clockMoved = nowUs < wokeUs_;
  if (!started_ || paused || stalled || clockMoved) {
    deadlineUs_ = nowUs;
    started_ = true;
  }
  deadlineUs_ += uint64_t{ms} * 1000;
  return deadlineUs_;
}

}  // namespace formats
