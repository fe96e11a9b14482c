#include "midi/midi_port.h"

#include "core/data_files.h"
#include "core/numbers.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "midi/pacing.h"
#include "platform/stop_request.h"

namespace {
// What the waits of this playing cut off, under a millisecond.
uint64_t carriedUs = 0;
}  // namespace

int32_t OpenMidiPort() {
  TWorkingState& ws = WorkingState;
  carriedUs = 0;
  // The port is opened again before every playback: release the old one so
  // that no device is held twice and no note is left sounding.
  if (ws.MidiOut) {
    platform::MidiOutClose(ws.MidiOut);
    ws.MidiOut = nullptr;
  }
  uint32_t n = platform::MidiOutGetNumDevs();
  // Only the chosen device is asked (asking another may start its
  // synthesizer for nothing); a number with no device, or a device that
  // does not open, cannot play.
  uint16_t notes = 0;
  if (ws.MidiDevice >= 0 && static_cast<uint32_t>(ws.MidiDevice) < n) {
    uint32_t d = static_cast<uint32_t>(ws.MidiDevice);
    notes = platform::MidiOutGetNoteCapacity(d);
    if (notes != 0) ws.MidiOut = platform::MidiOutOpen(d);
  }
  if (!ws.MidiOut) notes = 0;
  ws.Polyphony = notes;
  return ws.Polyphony != 0 ? static_cast<int32_t>(n) : -1;
}

uint32_t PackShortMessage(int32_t status, int32_t data1, int32_t data2) {
  return (static_cast<uint32_t>(status) & 0xFF) | ((static_cast<uint32_t>(data1) & 0xFF) << 8) |
         ((static_cast<uint32_t>(data2) & 0xFF) << 16);
}

namespace {

// The notes switched on and not yet off, by pitch byte, so that a stop
// leaves none sounding.
bool sounding[256] = {};
// All sound off was sent since the last note started.
bool silenced = false;

// The kind plus the channel; any channel a settings file gives, up to the
// largest number, is added modulo 256 (the packing keeps the low byte).
int32_t Status(uint32_t kind) {
  return static_cast<int32_t>((kind + static_cast<uint32_t>(WorkingState.Channel)) & 0xFF);
}

// A channel outside 0..15 turns the status into another kind of message (a
// note-on on channel 16 is an aftertouch, on 32 a controller change): such
// a message is packed and returned, never sent.
uint32_t Send(uint32_t kind, int32_t data1, int32_t data2) {
  int32_t status = Status(kind);
  uint32_t message = PackShortMessage(status, data1, data2);
  if ((static_cast<uint32_t>(status) & 0xF0) == kind) platform::MidiOutShortMsg(WorkingState.MidiOut, message);
  return message;
}

}  // namespace

uint32_t SendNoteOn(int32_t pitch) {
  sounding[pitch & 0xFF] = true;
  silenced = false;
  return Send(0x90, pitch, static_cast<int32_t>(WorkingState.Velocity));
}

uint32_t SendNoteOff(int32_t pitch) {
  sounding[pitch & 0xFF] = false;
  return Send(0x80, pitch, 0);
}

uint32_t SendProgramChange(int32_t program) { return Send(0xC0, program, 0); }

bool StopIfRequested() {
  if (!platform::StopRequested()) return false;
  for (int pitch = 0; pitch < 256; ++pitch)
    if (sounding[pitch]) SendNoteOff(pitch);
  // All sound off: the notes' release is cut too, so that the stop is
  // heard at once.
  if (!silenced) Send(0xB0, 120, 0);
  silenced = true;
  return true;
}

uint32_t NoteLengthMs(uint32_t length) {
  uint32_t tempo = WorkingState.Tempo;
  if (length == 0 || tempo == 0) return 1000;
  uint32_t wait = 240000000u / length / tempo;
  return wait > 4000 ? 4000 : wait;
}

uint32_t WaitNoteLength(uint32_t length) {
  if (PacingOn()) return PacedWait(length);
  uint32_t wait = NoteLengthMs(length);
  // Waits are whole milliseconds: the fractions cut off are carried to the
  // next waits, so that a long piece keeps its tempo instead of running
  // ahead by a fraction of a millisecond at every note.
  uint64_t tempo = WorkingState.Tempo;
  if (length != 0 && tempo != 0 && wait < 4000) {
    carriedUs += 240000000000ull / length / tempo - uint64_t{wait} * 1000;
    if (carriedUs >= 1000) {
      wait += static_cast<uint32_t>(carriedUs / 1000);
      carriedUs %= 1000;
    }
  }
  WaitUnlessStopped(wait);
  return wait;
}

void WaitUnlessStopped(uint64_t ms) {
  // Short enough that a stop is heard at once.
  constexpr uint64_t kSliceMs = 50;
  while (ms > 0 && !platform::StopRequested()) {
    uint64_t slice = ms < kSliceMs ? ms : kSliceMs;
    platform::MidiOutWait(WorkingState.MidiOut, static_cast<uint32_t>(slice));
    ms -= slice;
  }
}

int32_t NormalizePitch(int32_t pitch) {
  int8_t s = static_cast<int8_t>(static_cast<uint8_t>(pitch));
  WorkingState.Octave = static_cast<int8_t>(s / 12);
  return s;
}

int ReadDeviceNumber() {
  char page[kPageSize + 1];
  int read = ReadTextPage(page, 1, kDeviceFile);
  WorkingState.MidiDevice = read > 0 ? ReadNumber(page) : 0;
  return read;
}
