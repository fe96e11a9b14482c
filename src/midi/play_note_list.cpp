#include "core/working_state.h"

#include "midi/midi_port.h"
#include "midi/play_string.h"

int PlayNoteList(int8_t base, const TNoteList& notes, const TLengthList& lengths) {
  for (int k = 1; k <= notes.Count; ++k) {
    if (StopIfRequested()) break;
    if (notes[k] == 0) {
      WaitNoteLength(lengths[k]);
      continue;
    }
    int32_t p = NormalizePitch(static_cast<uint8_t>(notes[k] + base));
    SendNoteOn(p);
    WaitNoteLength(lengths[k]);
    SendNoteOff(p);
  }
  return 0;
}
