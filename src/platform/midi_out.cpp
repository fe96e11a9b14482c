#include "platform/midi_out.h"

#include <bitset>

#include "platform/interrupt.h"
#include "platform/platform.h"
#include "platform/stop_request.h"

namespace platform {

struct MidiOutPort {
  MidiDevice* device;
  bool open;
  // Notes sounding, by channel and pitch, so that none is left hanging.
  std::bitset<16 * 128> sounding;
};

namespace {

MidiDeviceList* devices = nullptr;  // never destroyed: ports close at exit
constexpr int kMaxPorts = 4;
MidiOutPort ports[kMaxPorts];

int MessageLength(uint8_t status) {
  uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 2 : 3;
}

void AllNotesOff(MidiOutPort& port) {
  for (int i = 0; i < 16 * 128; ++i) {
    if (!port.sounding[i]) continue;
    uint8_t off[3] = {static_cast<uint8_t>(0x80 | (i / 128)), static_cast<uint8_t>(i % 128), 0};
    port.device->Send(off, 3);
  }
  port.sounding.reset();
}

// Sleeps to `deadlineUs` in short steps, so that a stop asked in the middle
// of a long note is heard at once; the last step keeps the clock's accuracy.
void SleepUnlessStopped(Clock& clock, uint64_t deadlineUs) {
  constexpr uint32_t kLookMs = 20;
  while (!StopRequested()) {
    if (clock.NowUs() + kLookMs * 1000 >= deadlineUs) {
      clock.SleepUntilUs(deadlineUs);
      return;
    }
    clock.SleepMs(kLookMs);
  }
}

}  // namespace

MidiDeviceList& MidiDevices() {
  if (!devices) {
    devices = new MidiDeviceList(Get().devices());
    AtShutdown(CloseAllMidiPorts);
  }
  return *devices;
}

void InstallMidiDevices(MidiDeviceList list) {
  CloseAllMidiPorts();
  if (!devices) devices = new MidiDeviceList;
  *devices = std::move(list);
}

uint32_t MidiOutGetNumDevs() { return static_cast<uint32_t>(MidiDevices().size()); }

uint16_t MidiOutGetNoteCapacity(uint32_t device) {
  MidiDeviceList& list = MidiDevices();
  return device < list.size() ? list[device]->NoteCapacity() : 0;
}

TMidiOut MidiOutOpen(uint32_t device) {
  MidiDeviceList& list = MidiDevices();
  if (device >= list.size()) return nullptr;
  MidiOutPort* free = nullptr;
  for (MidiOutPort& p : ports) {
    if (p.open && p.device == list[device].get()) return nullptr;  // one port per device
    if (!p.open && !free) free = &p;
  }
  if (!free || !list[device]->Open()) return nullptr;
  free->device = list[device].get();
  free->open = true;
  free->sounding.reset();
  return free;
}

void MidiOutShortMsg(TMidiOut port, uint32_t message) {
  if (!port || !port->open) return;
  uint8_t b[3] = {static_cast<uint8_t>(message), static_cast<uint8_t>(message >> 8),
                  static_cast<uint8_t>(message >> 16)};
  if (b[0] < 0x80 || b[0] >= 0xF0) return;
  int length = MessageLength(b[0]);
  if (b[1] > 127 || (length == 3 && b[2] > 127)) return;
  int channel = b[0] & 0x0F;
  int kind = b[0] & 0xF0;
  if (kind == 0x90 && b[2] > 0) {
    port->sounding.set(channel * 128 + b[1]);
  } else if (kind == 0x80 || kind == 0x90) {
    port->sounding.reset(channel * 128 + b[1]);
  }
  port->device->Send(b, length);
}

void MidiOutClose(TMidiOut port) {
  if (!port || !port->open) return;
  AllNotesOff(*port);
  port->device->Close();
  port->open = false;
  port->device = nullptr;
}

void MidiOutWait(TMidiOut port, uint32_t ms) {
  if (port && port->open) {
    port->device->Wait(ms);
  } else {
    Clock& clock = *Get().clock;
    SleepUnlessStopped(clock, clock.NowUs() + uint64_t{ms} * 1000);
  }
}

void CloseAllMidiPorts() {
  for (MidiOutPort& p : ports) MidiOutClose(&p);
}

void LiveMidiDevice::Wait(uint32_t ms) {
  Clock& clock = *Get().clock;
  SleepUnlessStopped(clock, timer_.Next(clock.NowUs(), ms));
  timer_.Woke(clock.NowUs());
}

}  // namespace platform
