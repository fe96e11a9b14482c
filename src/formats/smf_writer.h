// Standard MIDI File of format 0 from timed channel messages.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace formats {

struct TimedMessage {
  uint64_t timeMs;
  uint8_t bytes[3];
  uint8_t length;
};

// 500 ticks per quarter note at 500000 microseconds per quarter, so one tick
// is one millisecond; the end of track stands at `endMs` (a trailing rest
// is kept).
std::vector<uint8_t> BuildSmf(const std::vector<TimedMessage>& messages, uint64_t endMs);

}  // namespace formats
