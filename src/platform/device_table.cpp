#include "platform/device_table.h"

#include "platform/live_synth_device.h"
#include "platform/midi_file_device.h"
#include "platform/system_midi_ports.h"
#include "platform/wav_render_device.h"

namespace platform {
namespace {

struct DeviceEntry {
  const char* name;
  std::unique_ptr<MidiDevice> (*create)(const char* name);
};

std::unique_ptr<MidiDevice> CreateLiveSynth(const char* name) {
  return std::make_unique<LiveSynthDevice>(name, FindSoundFont());
}

std::unique_ptr<MidiDevice> CreateWavRender(const char* name) {
  return std::make_unique<WavRenderDevice>(name, "\\orfeon\\sortie.wav", FindSoundFont());
}

std::unique_ptr<MidiDevice> CreateMidiFile(const char* name) {
  return std::make_unique<MidiFileDevice>(name, "\\orfeon\\sortie.mid");
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

MidiDeviceList BuildDeviceTable() {
  MidiDeviceList list;
  for (const DeviceEntry& entry : kFixedDevices) list.push_back(entry.create(entry.name));
  AppendSystemMidiPorts(list);
  return list;
}

}  // namespace platform
