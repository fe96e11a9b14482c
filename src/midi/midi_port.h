// The MIDI output port: choosing and opening the device, the three channel
// messages the program sends, note timing and pitch normalisation.
#pragma once
#include <cstdint>

#include "core/data_files.h"

// Opens device `MidiDevice` into `MidiOut` (closing a port still open
// first) and sets `Polyphony`. Returns the number of devices when
// `Polyphony` is nonzero, otherwise -1.
int32_t OpenMidiPort();

uint32_t PackShortMessage(int32_t status, int32_t data1, int32_t data2);
uint32_t SendNoteOn(int32_t pitch);
uint32_t SendNoteOff(int32_t pitch);
uint32_t SendProgramChange(int32_t program);

// True when the user asked to stop the music (see platform/stop_request.h);
// every note still sounding is then switched off at once. The players ask
// it before each note.
bool StopIfRequested();

// The wait for a length (note value x 1000) at `Tempo`, at most 4000 ms.
uint32_t NoteLengthMs(uint32_t length);
// Waits that long on the port and returns it; a stop cuts the wait short.
uint32_t WaitNoteLength(uint32_t length);
// Waits `ms` on the port in short slices, until the user asks to stop.
void WaitUnlessStopped(uint64_t ms);

// The pitch's low 8 bits as a signed value; sets `Octave` to its octave.
int32_t NormalizePitch(int32_t pitch);

// Reads the device-number file into `MidiDevice` (0 when nothing can be
// read). Returns the number of characters read.
int ReadDeviceNumber();
