// The program, started as pavsdi is, with a probe on each of its devices:
// the first note-on to reach one prints, on the standard error, the
// microseconds since BENCH_SPAWN_US (the monotonic time at which the
// benchmark started the process).
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/program_start.h"
#include "drivers/device_table.h"
#include "platform/interrupt.h"
#include "platform/midi_out.h"
#include "platform/platform.h"
#include "terminal/terminal_front_end.h"

namespace {

class FirstNoteProbe : public platform::MidiDevice {
 public:
  explicit FirstNoteProbe(std::unique_ptr<platform::MidiDevice> inner) : inner_(std::move(inner)) {}
  std::string Name() const override { return inner_->Name(); }
  uint16_t NoteCapacity() override { return inner_->NoteCapacity(); }
  bool Open() override { return inner_->Open(); }
  void Send(const uint8_t* bytes, int length) override {
    inner_->Send(bytes, length);
    if (seen_ || (bytes[0] & 0xF0) != 0x90 || length != 3 || bytes[2] == 0) return;
    seen_ = true;
    const char* spawn = std::getenv("BENCH_SPAWN_US");
    if (!spawn) return;
    uint64_t now = platform::SystemClock().NowUs();
    std::fprintf(stderr, "first-note-on-us %lld\n", static_cast<long long>(now - std::strtoull(spawn, nullptr, 10)));
  }
  void Wait(uint32_t ms) override { inner_->Wait(ms); }
  void Close() override { inner_->Close(); }
  std::string OutputFile() const override { return inner_->OutputFile(); }

 private:
  std::unique_ptr<platform::MidiDevice> inner_;
  bool seen_ = false;
};

void InstallProbes() {
  platform::MidiDeviceList probed;
  for (auto& device : drivers::BuildDeviceTable()) probed.push_back(std::make_unique<FirstNoteProbe>(std::move(device)));
  platform::InstallMidiDevices(std::move(probed));
}

}  // namespace

int main(int argc, char** argv) {
  platform::InstallInterruptHandlers();
  drivers::StartTerminalFrontEnd(argv);
  return RunProgram(argc, argv, InstallProbes);
}
