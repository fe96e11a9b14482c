#include "platform/device_table.h"

#include "platform/midi_file_device.h"

namespace platform {
namespace {

// A device this build cannot play on: listed, so that the numbers keep
// their meaning, with no note capacity.
class UnavailableDevice : public LiveMidiDevice {
 public:
  explicit UnavailableDevice(const char* name) : name_(name) {}
  std::string Name() const override { return name_; }
  uint16_t NoteCapacity() override { return 0; }
  bool Open() override { return false; }
  void Send(const uint8_t*, int) override {}
  void Close() override {}

 private:
  const char* name_;
};

struct DeviceEntry {
  const char* name;
  std::unique_ptr<MidiDevice> (*create)(const char* name);
};

std::unique_ptr<MidiDevice> CreateUnavailable(const char* name) {
  return std::make_unique<UnavailableDevice>(name);
}

std::unique_ptr<MidiDevice> CreateMidiFile(const char* name) {
  return std::make_unique<MidiFileDevice>(name, "\\orfeon\\sortie.mid");
}

// Same order as the device numbers above.
const DeviceEntry kFixedDevices[] = {
    {"Synthétiseur intégré", CreateUnavailable},
    {"Synthétiseur intégré -> \\orfeon\\sortie.wav", CreateUnavailable},
    {"Fichier MIDI -> \\orfeon\\sortie.mid", CreateMidiFile},
};
static_assert(sizeof(kFixedDevices) / sizeof(kFixedDevices[0]) == 3,
              "the system's ports start at device 3");

}  // namespace

MidiDeviceList BuildDeviceTable() {
  MidiDeviceList list;
  for (const DeviceEntry& entry : kFixedDevices) list.push_back(entry.create(entry.name));
  return list;
}

}  // namespace platform
