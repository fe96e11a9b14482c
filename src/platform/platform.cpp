#include "platform/platform.h"

#include <ctime>

#include "platform/interrupt.h"

namespace platform {
namespace {

class SilentDialogs : public Dialogs {
 public:
  int MessageBox(const char*, const char*, unsigned type) override { return type == 3 ? 2 : 1; }
};

class SilentSound : public Sound {
 public:
  void PlayCue(const char*) override {}
};

class NoPrograms : public Programs {
 public:
  void Exec(const char*, int) override {}
  void End(const char*) override {}
};

class NoInput : public LineInput {
 public:
  bool ReadLine(char* buffer, int size) override {
    if (size > 0) buffer[0] = 0;
    return false;
  }
};

class RealClock : public Clock {
 public:
  void SleepMs(uint32_t ms) override { WaitReadable(-1, static_cast<long long>(ms) * 1000000); }
  uint64_t NowUs() override {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<uint64_t>(t.tv_sec) * 1000000 + static_cast<uint64_t>(t.tv_nsec) / 1000;
  }
  // An absolute deadline: a sleep woken early or late does not move the
  // next. The kernel wakes a long sleep a little late, and on a virtual
  // machine now and then by a few milliseconds: the sleep ends shortly before
  // the deadline and the clock is watched for the rest.
  void SleepUntilUs(uint64_t deadlineUs) override {
    uint64_t now = NowUs();
    if (deadlineUs > now + kWatchedTailUs)
      WaitReadable(-1, static_cast<long long>(deadlineUs - kWatchedTailUs - now) * 1000);
    while (NowUs() < deadlineUs) CheckInterrupted();
  }

 private:
  // Long enough to cover the usual late wake-ups, short enough to cost little
  // (about 3 % of one core for sixteenths at tempo 240).
  static constexpr uint64_t kWatchedTailUs = 2000;
};

SilentDialogs silentDialogs;
SilentSound silentSound;
NoPrograms noPrograms;
NoInput noInput;
class NoClipboard : public Clipboard {
 public:
  bool Open() override { return false; }
  TClipboardText ReadText(char* buffer, int size) override {
    if (size > 0) buffer[0] = 0;
    return TClipboardText::kNone;
  }
  bool WriteText(const char*) override { return false; }
  void Close() override {}
};

class NoRegistry : public Registry {
 public:
  bool SetValue(const char*, const char*) override { return false; }
  bool DeleteKey(const char*) override { return false; }
  bool RemoveValue(const char*, const char*) override { return false; }
};

class NoFileDialogs : public FileDialogs {
 public:
  bool ChooseFile(bool, const char*, const char*, std::string*) override { return false; }
};

MidiDeviceList NoDevices() { return {}; }
bool NeverStop() { return false; }

RealClock realClock;
NoClipboard noClipboard;
NoRegistry noRegistry;
NoFileDialogs noFileDialogs;
Services installed{&silentDialogs, &silentSound, &noPrograms, &realClock, &noInput, &noClipboard,
                   &noRegistry,    NoDevices,    NeverStop,   &noFileDialogs};

}  // namespace

Services& Get() { return installed; }

void Install(const Services& services) {
  installed.dialogs = services.dialogs ? services.dialogs : &silentDialogs;
  installed.sound = services.sound ? services.sound : &silentSound;
  installed.programs = services.programs ? services.programs : &noPrograms;
  installed.clock = services.clock ? services.clock : &realClock;
  installed.input = services.input ? services.input : &noInput;
  installed.clipboard = services.clipboard ? services.clipboard : &noClipboard;
  installed.registry = services.registry ? services.registry : &noRegistry;
  installed.devices = services.devices ? services.devices : NoDevices;
  installed.stopPoll = services.stopPoll ? services.stopPoll : NeverStop;
  installed.files = services.files ? services.files : &noFileDialogs;
}

Clock& SystemClock() { return realClock; }

void Clock::SleepUntilUs(uint64_t deadlineUs) {
  uint64_t now = NowUs();
  if (deadlineUs > now) SleepMs(static_cast<uint32_t>((deadlineUs - now + 999) / 1000));
}

}  // namespace platform
