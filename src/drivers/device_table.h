// The output devices in their fixed order; the number in the device-number
// file picks one, and users' scripts rely on the order:
//   0 the built-in synthesizer on the sound output
//   1 the built-in synthesizer rendered into "\orfeon\sortie.wav"
//   2 a Standard MIDI File recorder writing "\orfeon\sortie.mid"
//   3 and on, the system's MIDI output ports
#pragma once
#include "platform/midi_device.h"

namespace drivers {

platform::MidiDeviceList BuildDeviceTable();

}  // namespace drivers
