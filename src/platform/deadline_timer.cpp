#include "platform/deadline_timer.h"

namespace platform {

uint64_t DeadlineTimer::Next(uint64_t nowUs, uint32_t ms) {
  // Also restarts when the present is before the last deadline: the time
  // base moved (a clock changed under the device).
  if (!started_ || nowUs > deadlineUs_ + kCatchUpWindowUs || nowUs + kCatchUpWindowUs < deadlineUs_) {
    deadlineUs_ = nowUs;
    started_ = true;
  }
  deadlineUs_ += uint64_t{ms} * 1000;
  return deadlineUs_;
}

}  // namespace platform
