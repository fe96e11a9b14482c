#include "fuzz_support.h"

#include <bitset>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/midi_port.h"
#include "platform/midi_out.h"
#include "platform/paths.h"
#include "platform/platform.h"

namespace fuzzing {
namespace {

class Dialogs : public platform::Dialogs {
 public:
  int MessageBox(const char*, const char*, unsigned type) override {
    if (type != 3) return 1;
    if (answers.empty()) return kCancel;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<int> answers;
};

class Clock : public platform::Clock {
 public:
  void SleepMs(uint32_t ms) override { nowUs += uint64_t{ms} * 1000; }
  uint64_t NowUs() override { return nowUs; }
  void SleepUntilUs(uint64_t deadlineUs) override {
    if (deadlineUs > nowUs) nowUs = deadlineUs;
  }
  uint64_t nowUs = 0;
};

// Checks at the device what the port layer lets through.
class CheckingDevice : public platform::LiveMidiDevice {
 public:
  std::string Name() const override { return "fuzz"; }
  uint16_t NoteCapacity() override { return 32; }
  bool Open() override { return true; }
  void Send(const uint8_t* bytes, int length) override {
    if (bytes[0] < 0x80 || bytes[0] >= 0xF0 || (length != 2 && length != 3)) Fail("bad status");
    for (int i = 1; i < length; ++i)
      if (bytes[i] > 127) Fail("data byte above 127");
    int kind = bytes[0] & 0xF0;
    int key = (bytes[0] & 0x0F) * 128 + bytes[1];
    if (kind == 0x90 && bytes[2] > 0) {
      sounding.set(key);
    } else if (kind == 0x80 || kind == 0x90) {
      sounding.reset(key);
    }
  }
  void Close() override {}
  static void Fail(const char* what) {
    std::fprintf(stderr, "MIDI device: %s\n", what);
    std::abort();
  }
  std::bitset<16 * 128> sounding;
};

Dialogs dialogs;
Clock clock;
CheckingDevice* device = nullptr;

void InstallOnce() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  platform::Install({&dialogs, nullptr, nullptr, &clock, nullptr});
  // Every run writes a file: a memory file system keeps runs fast. The run
  // script gives a folder it removes however the target ends (a crash skips
  // the removal at exit); run alone, the target makes its own.
  static std::string madeRoot;
  if (const char* given = std::getenv("PAVSDI_FUZZ_ROOT")) {
    madeRoot = given;
  } else {
    static char root[] = "/dev/shm/pavsdi-fuzz-XXXXXX";
    static char fallback[] = "/tmp/pavsdi-fuzz-XXXXXX";
    const char* made = mkdtemp(root);
    if (!made) made = mkdtemp(fallback);
    if (!made) std::abort();
    madeRoot = made;
    std::atexit([] { std::filesystem::remove_all(madeRoot); });
  }
  std::filesystem::create_directories(madeRoot + "/orfeon");
  setenv("PAVSDI_ROOT", madeRoot.c_str(), 1);
  auto checking = std::make_unique<CheckingDevice>();
  device = checking.get();
  platform::MidiDeviceList list;
  list.push_back(std::move(checking));
  platform::InstallMidiDevices(std::move(list));
}

}  // namespace

void BeginRun() {
  InstallOnce();
  platform::CloseAllMidiPorts();
  device->sounding.reset();
  dialogs.answers.clear();
  WorkingState = TWorkingState{};
  WorkingState.MidiDevice = 0;
  OpenMidiPort();
  WorkingState.Channel = 1;
  WorkingState.Velocity = 127;
  WorkingState.Tempo = 60;
  WorkingState.Octave = 3;
  WorkingState.NoteLength = 4;
}

void TakeAnswers(FuzzedDataProvider& input, int count) {
  static const int kAnswers[] = {kYes, kNo, kCancel};
  for (int i = 0; i < count; ++i) dialogs.answers.push_back(kAnswers[input.ConsumeIntegralInRange(0, 2)]);
}

void WriteProgramFile(const char* programPath, const std::string& bytes) {
  std::ofstream(platform::MapPath(programPath), std::ios::binary | std::ios::trunc) << bytes;
}

void InstallDataFile(const char* name) {
  static std::string installed;
  if (installed.find(std::string(name) + "\n") != std::string::npos) return;
  installed += std::string(name) + "\n";
  std::filesystem::copy_file(std::string(PAVSDI_DATA_TEMPLATE) + "/" + name, platform::DataDirectory() + "/" + name,
                             std::filesystem::copy_options::overwrite_existing);
}

void ExpectAllNotesOff() {
  if (device->sounding.any()) CheckingDevice::Fail("note left sounding");
}

}  // namespace fuzzing
