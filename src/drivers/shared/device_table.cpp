#include "drivers/device_table.h"

#include "core/data_files.h"
#include "drivers/live_synth_device.h"
#include "drivers/midi_file_device.h"
#include "drivers/system_midi_ports.h"
#include "drivers/wav_render_device.h"

namespace drivers {
namespace {

struct DeviceEntry {
  const char* name;
  std::unique_ptr<platform::MidiDevice> (*create)(const char* name);
};

std::unique_ptr<platform::MidiDevice> CreateLiveSynth(const char* name) {
  return std::make_unique<LiveSynthDevice>(name, FindSoundFont());
}

std::unique_ptr<platform::MidiDevice> CreateWavRender(const char* name) {
  return std::make_unique<WavRenderDevice>(name, kWavOutputFile, FindSoundFont());
}

std::unique_ptr<platform::MidiDevice> CreateMidiFile(const char* name) {
  return std::make_unique<MidiFileDevice>(name, kMidiOutputFile);
}

// Same order as the device numbers above.
const DeviceEntry kFixedDevices[] = {
    {"Synthétiseur intégré", CreateLiveSynth},
    {"Synthétiseur intégré -> \\orfeon\\sortie.wav", CreateWavRender},
    {"Fichier MIDI -> \\orfeon\\sortie.mid", CreateMidiFile},
};
static_assert(sizeof(kFixedDevices) / sizeof(kFixedDevices[0]) == 3,
              "the system's ports start at device 3");

}  // namespace

platform::MidiDeviceList BuildDeviceTable() {
  platform::MidiDeviceList list;
  for (const DeviceEntry& entry : kFixedDevices) list.push_back(entry.create(entry.name));
  AppendSystemMidiPorts(list);
  return list;
}

}  // namespace drivers
