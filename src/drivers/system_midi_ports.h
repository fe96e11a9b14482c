// The system's MIDI output ports (the ALSA sequencer's, through RtMidi),
// appended to the device list after the fixed devices. With no sequencer on
// the machine there are none.
#pragma once
#include "platform/midi_device.h"

namespace drivers {

void AppendSystemMidiPorts(platform::MidiDeviceList& list);

}  // namespace drivers
