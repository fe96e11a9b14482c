#include "platform/platform.h"

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

NoClipboard noClipboard;
NoRegistry noRegistry;
NoFileDialogs noFileDialogs;
Services installed{&silentDialogs, &silentSound, &noPrograms, &SystemClock(), &noInput, &noClipboard,
                   &noRegistry,    NoDevices,    NeverStop,   &noFileDialogs};

}  // namespace

Services& Get() { return installed; }

void Install(const Services& services) {
  installed.dialogs = services.dialogs ? services.dialogs : &silentDialogs;
  installed.sound = services.sound ? services.sound : &silentSound;
  installed.programs = services.programs ? services.programs : &noPrograms;
  installed.clock = services.clock ? services.clock : &SystemClock();
  installed.input = services.input ? services.input : &noInput;
  installed.clipboard = services.clipboard ? services.clipboard : &noClipboard;
  installed.registry = services.registry ? services.registry : &noRegistry;
  installed.devices = services.devices ? services.devices : NoDevices;
  installed.stopPoll = services.stopPoll ? services.stopPoll : NeverStop;
  installed.files = services.files ? services.files : &noFileDialogs;
}

void Clock::SleepUntilUs(uint64_t deadlineUs) {
  uint64_t now = NowUs();
  if (deadlineUs > now) SleepMs(static_cast<uint32_t>((deadlineUs - now + 999) / 1000));
}

}  // namespace platform
