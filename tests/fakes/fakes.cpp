#include "fakes/fakes.h"

#include <sys/resource.h>

#include <csignal>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "core/command_table.h"
#include "core/working_state.h"
#include "midi/midi_port.h"
#include "platform/midi_out.h"
#include "platform/paths.h"
#include "platform/stop_request.h"

namespace fakes {

int Dialogs::MessageBox(const char* text, const char* caption, unsigned type) {
  boxes.push_back({type, text, caption});
  if (type != 3) return 1;
  if (onQuestion) onQuestion(boxes.back());
  if (answers.empty()) return 2;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

bool Input::ReadLine(char* buffer, int size) {
  if (lines.empty()) {
    buffer[0] = 0;
    return false;
  }
  std::snprintf(buffer, static_cast<size_t>(size), "%s", lines.front().c_str());
  lines.pop_front();
  return true;
}

void Use(platform::Clipboard* clipboard) {
  platform::Services services = platform::Get();
  services.clipboard = clipboard;
  platform::Install(services);
}

void Use(platform::Registry* registry) {
  platform::Services services = platform::Get();
  services.registry = registry;
  platform::Install(services);
}

void UseStopPoll(bool (*poll)()) {
  platform::Services services = platform::Get();
  services.stopPoll = poll;
  platform::Install(services);
}

}  // namespace fakes

void PavTest::SetUp() {
  WorkingState = TWorkingState{};
  ClearCommands();
  platform::Install({&dialogs, &sound, &programs, &clock, &input});
  platform::ClearStopRequest();
  UseDevices({32});
  const char* old = std::getenv("PAVSDI_ROOT");
  hadRoot_ = old != nullptr;
  if (old) oldRoot_ = old;
  char templ[] = "/tmp/pavsdi-test-XXXXXX";
  root = mkdtemp(templ);
  std::filesystem::create_directories(root + "/orfeon");
  setenv("PAVSDI_ROOT", root.c_str(), 1);
}

void PavTest::TearDown() {
  platform::InstallMidiDevices({});
  WorkingState = TWorkingState{};
  platform::Install({});
  std::filesystem::remove_all(root);
  if (hadRoot_) {
    setenv("PAVSDI_ROOT", oldRoot_.c_str(), 1);
  } else {
    unsetenv("PAVSDI_ROOT");
  }
}

void PavTest::UseDevices(std::vector<uint16_t> capacities) {
  platform::MidiDeviceList list;
  devices_.clear();
  for (size_t i = 0; i < capacities.size(); ++i) {
    auto device = std::make_unique<fakes::MidiDevice>("fake " + std::to_string(i), capacities[i], clock);
    devices_.push_back(device.get());
    list.push_back(std::move(device));
  }
  WorkingState.MidiOut = nullptr;
  platform::InstallMidiDevices(std::move(list));
}

void PavTest::OpenDefaultPort() {
  WorkingState.MidiDevice = 0;
  WorkingState.Channel = 1;
  WorkingState.Velocity = 127;
  WorkingState.Tempo = 60;
  OpenMidiPort();
}

void PavTest::OpenPortForReading() {
  OpenDefaultPort();
  WorkingState.Octave = 3;
  WorkingState.NoteLength = 4;
}

std::vector<std::string> PavTest::MidiLog(size_t device) {
  std::vector<std::string> lines;
  for (const fakes::MidiEvent& e : devices_.at(device)->events) {
    std::ostringstream line;
    line << "t=" << e.timeMs << " ";
    int kind = e.bytes[0] & 0xF0;
    if (kind == 0x90 && e.bytes[2] > 0) {
      line << "on " << int(e.bytes[1]) << " " << int(e.bytes[2]);
    } else if (kind == 0x80 || kind == 0x90) {
      line << "off " << int(e.bytes[1]);
    } else if (kind == 0xC0) {
      line << "program " << int(e.bytes[1]);
    } else {
      line << "msg";
      for (uint8_t b : e.bytes) line << " " << int(b);
    }
    if ((e.bytes[0] & 0x0F) != 1) line << " ch" << (e.bytes[0] & 0x0F);
    lines.push_back(line.str());
  }
  return lines;
}

std::string PavTest::HostPath(const char* programPath) { return platform::MapPath(programPath); }

void PavTest::WriteHostFile(const char* programPath, const std::string& bytes) {
  std::filesystem::path p = HostPath(programPath);
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

std::string PavTest::ReadHostFile(const char* programPath) {
  std::ifstream in(HostPath(programPath), std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

ScopedFileSizeLimit::ScopedFileSizeLimit(unsigned long bytes) {
  // A write past the limit then fails with EFBIG instead of killing.
  signal(SIGXFSZ, SIG_IGN);
  rlimit limit;
  getrlimit(RLIMIT_FSIZE, &limit);
  oldSoft_ = limit.rlim_cur;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
  rlimit limit;
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = oldSoft_;
  setrlimit(RLIMIT_FSIZE, &limit);
}
