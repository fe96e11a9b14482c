// Records what is played into a Standard MIDI File, on its own clock: a
// wait advances the recording without sleeping, so a whole piece is written
// at once.
#pragma once
#include "formats/smf_writer.h"
#include "platform/midi_device.h"

namespace drivers {

class MidiFileDevice : public platform::MidiDevice {
 public:
  MidiFileDevice(std::string name, const char* programPath);
  std::string Name() const override { return name_; }
  uint16_t NoteCapacity() override { return 128; }
  bool Open() override;
  void Send(const uint8_t* bytes, int length) override;
  void Wait(uint32_t ms) override;
  // Writes the whole recording so far, replacing the old file at once; a
  // port opened again in the same run goes on with the same recording.
  // Nothing is written before the first note, nor when nothing was recorded
  // since the last write, so that a file another program wrote there
  // meanwhile (the companion player) is not overwritten for nothing. A file
  // that cannot be written is named in a box and the old one stays.
  void Close() override;
  std::string OutputFile() const override { return programPath_; }

 private:
  std::string name_;
  const char* programPath_;
  std::vector<formats::TimedMessage> messages_;
  uint64_t nowMs_ = 0;
  bool started_ = false;  // a note was played
  bool unsaved_ = false;
};

}  // namespace drivers
