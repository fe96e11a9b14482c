// Fakes of the platform: scripted answers, recorded boxes, cues and
// programs, a clock that moves only when slept on, and MIDI devices that
// record every message with its time.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/midi_device.h"
#include "platform/platform.h"

namespace fakes {

struct Box {
  unsigned type;  // 64 information, 3 question
  std::string text;
  std::string caption;
};

class Dialogs : public platform::Dialogs {
 public:
  int MessageBox(const char* text, const char* caption, unsigned type) override;
  std::vector<Box> boxes;
  std::deque<int> answers;  // for questions; Cancel once they run out
  // Called at each question, before it is answered (e.g. to check the time).
  std::function<void(const Box&)> onQuestion;
};

class Sound : public platform::Sound {
 public:
  void PlayCue(const char* path) override { cues.push_back(path); }
  std::vector<std::string> cues;
};

class Programs : public platform::Programs {
 public:
  void Exec(const char* commandLine, int showMode) override {
    started.push_back(commandLine);
    showModes.push_back(showMode);
  }
  void End(const char* commandLine) override { ended.push_back(commandLine); }
  std::vector<std::string> started;
  std::vector<std::string> ended;
  std::vector<int> showModes;
};

class Clock : public platform::Clock {
 public:
  void SleepMs(uint32_t ms) override { nowUs += uint64_t{ms} * 1000; }
  void SleepUntilUs(uint64_t deadlineUs) override {
    if (deadlineUs > nowUs) nowUs = deadlineUs;
  }
  uint64_t NowUs() override { return nowUs; }
  uint64_t NowMs() const { return nowUs / 1000; }
  uint64_t nowUs = 0;
};

class Input : public platform::LineInput {
 public:
  bool ReadLine(char* buffer, int size) override;
  std::deque<std::string> lines;
};

struct MidiEvent {
  uint64_t timeMs;
  std::vector<uint8_t> bytes;
};

// A live device on the fake clock.
class MidiDevice : public platform::LiveMidiDevice {
 public:
  MidiDevice(std::string name, uint16_t capacity, Clock& clock)
      : name_(std::move(name)), capacity_(capacity), clock_(clock) {}
  std::string Name() const override { return name_; }
  uint16_t NoteCapacity() override {
    ++capacityReads;
    return capacity_;
  }
  bool Open() override {
    ++opens;
    isOpen = true;
    return true;
  }
  void Send(const uint8_t* bytes, int length) override {
    events.push_back({clock_.NowMs(), std::vector<uint8_t>(bytes, bytes + length)});
    if (onSend) onSend(events.back());
  }
  void Close() override {
    ++closes;
    isOpen = false;
  }
  std::string OutputFile() const override { return outputFile; }

  int capacityReads = 0;
  int opens = 0;
  int closes = 0;
  bool isOpen = false;
  std::string outputFile;  // as a recorder names it; empty: a device that plays
  std::vector<MidiEvent> events;
  // Called after each message is recorded (e.g. to ask for a stop).
  std::function<void(const MidiEvent&)> onSend;

 private:
  std::string name_;
  uint16_t capacity_;
  Clock& clock_;
};

// Puts one back end in the installed services record, keeping the others;
// null gives the record's default back.
void Use(platform::Clipboard* clipboard);
void Use(platform::Registry* registry);
void UseStopPoll(bool (*poll)());

}  // namespace fakes

// A full disk for the tests, whoever runs them (the superuser writes into
// a read-only directory): files cannot grow past `bytes` while it lives.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(unsigned long bytes);
  ~ScopedFileSizeLimit();

 private:
  unsigned long oldSoft_;
};

// Base of every test that touches the program: a zeroed working state, the
// fakes installed, one recording device (device 0, capacity 32) unless the
// test installs others, an empty command table and a temporary drive root.
class PavTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Replaces the devices by fakes with these capacities.
  void UseDevices(std::vector<uint16_t> capacities);
  // Opens device 0 with channel 1, velocity 127 and tempo 60.
  void OpenDefaultPort();
  // The same, reading in octave 3 with quarter notes.
  void OpenPortForReading();
  fakes::MidiDevice& Device(size_t i) { return *devices_[i]; }
  // Notes sent to device 0 as readable lines: "t=1000 on 60 127".
  std::vector<std::string> MidiLog(size_t device = 0);

  // A file under the temporary root; `programPath` as the program writes it.
  std::string HostPath(const char* programPath);
  void WriteHostFile(const char* programPath, const std::string& bytes);
  std::string ReadHostFile(const char* programPath);

  fakes::Dialogs dialogs;
  fakes::Sound sound;
  fakes::Programs programs;
  fakes::Clock clock;
  fakes::Input input;
  std::string root;

 private:
  std::vector<fakes::MidiDevice*> devices_;
  std::string oldRoot_;
  bool hadRoot_ = false;
};
