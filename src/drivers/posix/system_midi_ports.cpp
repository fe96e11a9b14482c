#include "drivers/system_midi_ports.h"

#include <rtmidi/RtMidi.h>
#include <sys/stat.h>

#include "drivers/sound_output.h"
#include "formats/encoding.h"

namespace drivers {
namespace {

constexpr const char* kClientName = "PavSdi";

// Failures are answered by results, never by exceptions or messages.
void IgnoreRtMidiError(RtMidiError::Type, const std::string&, void*) {}

std::unique_ptr<RtMidiOut> NewClient() {
  if (struct stat info; stat("/dev/snd/seq", &info) != 0) return nullptr;
  QuietAlsa();
  try {
    auto client = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, kClientName);
    client->setErrorCallback(IgnoreRtMidiError, nullptr);
    return client;
  } catch (const RtMidiError&) {
    return nullptr;
  }
}

class SystemMidiPort : public platform::LiveMidiDevice {
 public:
  explicit SystemMidiPort(std::string systemName)
      : systemName_(std::move(systemName)), name_(formats::Utf8ToCp1252(systemName_)) {}
  std::string Name() const override { return name_; }
  // The sequencer does not tell; General MIDI asks at least this many.
  uint16_t NoteCapacity() override { return 24; }

  // Found again by name: the ports may have been renumbered since the list
  // was made.
  bool Open() override {
    client_ = NewClient();
    if (!client_) return false;
    for (unsigned i = 0, n = client_->getPortCount(); i < n; ++i) {
      if (client_->getPortName(i) != systemName_) continue;
      client_->openPort(i, kClientName);
      if (client_->isPortOpen()) return true;
    }
    client_.reset();
    return false;
  }

  void Send(const uint8_t* bytes, int length) override {
    if (client_) client_->sendMessage(bytes, static_cast<size_t>(length));
  }

  void Close() override { client_.reset(); }

 private:
  std::string systemName_;  // UTF-8, as the sequencer gives it
  std::string name_;
  std::unique_ptr<RtMidiOut> client_;
};

}  // namespace

void AppendSystemMidiPorts(platform::MidiDeviceList& list) {
  std::unique_ptr<RtMidiOut> client = NewClient();
  if (!client) return;
  for (unsigned i = 0, n = client->getPortCount(); i < n; ++i) {
    std::string name = client->getPortName(i);
    if (!name.empty()) list.push_back(std::make_unique<SystemMidiPort>(name));
  }
}

}  // namespace drivers
