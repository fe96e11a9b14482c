// What the harmony tests share: the program's defaults on an open port, and
// reading back what was played and shown.
#pragma once
#include <string>
#include <vector>

#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "midi/defaults.h"

class HarmonyTest : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    OpenDefaultPort();
    ApplyDefaults();
    Forget();
  }
  // Starts the records afresh: boxes, cues and MIDI messages.
  void Forget() {
    dialogs.boxes.clear();
    sound.cues.clear();
    logStart_ = MidiLog().size();
  }
  void Answer(std::vector<int> answers) { dialogs.answers.assign(answers.begin(), answers.end()); }
  // MIDI lines since the last Forget.
  std::vector<std::string> Log() {
    std::vector<std::string> all = MidiLog();
    return std::vector<std::string>(all.begin() + static_cast<long>(logStart_), all.end());
  }
  // Pitches switched on since the last Forget.
  std::vector<int> Played() {
    std::vector<int> pitches;
    for (const std::string& line : Log()) {
      size_t on = line.find(" on ");
      if (on != std::string::npos) pitches.push_back(std::stoi(line.substr(on + 4)));
    }
    return pitches;
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (const fakes::Box& b : dialogs.boxes) captions.push_back(b.caption);
    return captions;
  }
  const fakes::Box* FirstInfo() {
    for (const fakes::Box& b : dialogs.boxes)
      if (b.type == 64) return &b;
    return nullptr;
  }
  int Cues() { return static_cast<int>(sound.cues.size()); }

  static constexpr int Y = kYes, N = kNo, C = kCancel;

 private:
  size_t logStart_ = 0;
};
