#include "midi/midi_port.h"

#include "midi/voice_player.h"

namespace {

// Sends `send` to the chord's notes from the lowest up, each through
// NormalizePitch.
template <typename Send>
void ForEachChordNote(int8_t first, const TNoteList& intervals, Send send) {
  uint8_t pitch = static_cast<uint8_t>(first);
  for (int k = 1; k <= intervals.Count; ++k) {
    pitch = static_cast<uint8_t>(pitch + intervals[k]);
    send(NormalizePitch(pitch));
  }
}

}  // namespace

int PlayBlockChord(int8_t first, const TNoteList& intervals, const TLengthList& lengths) {
  if (StopIfRequested()) return 0;
  int32_t lowest = NormalizePitch(first);
  SendNoteOn(lowest);
  WaitNoteLength(lengths[1]);
  if (StopIfRequested()) return 0;
  ForEachChordNote(first, intervals, [](int32_t p) { SendNoteOn(p); });
  WaitNoteLength(lengths[2]);
  SendNoteOff(lowest);
  ForEachChordNote(first, intervals, [](int32_t p) { SendNoteOff(p); });
  return 0;
}
