// The built-in synthesizer rendering into a WAV file (44.1 kHz, 16-bit,
// stereo) on its own clock: a wait renders exactly that much music, without
// sleeping, so a whole piece is written in a few seconds.
#pragma once
#include <memory>

#include "drivers/synthesizer.h"
#include "platform/midi_device.h"

namespace drivers {

class WavRenderDevice : public platform::MidiDevice {
 public:
  WavRenderDevice(std::string name, const char* programPath, std::string soundFont);
  std::string Name() const override { return name_; }
  // Nonzero when the soundfont is there; it is loaded only on opening.
  uint16_t NoteCapacity() override;
  bool Open() override;
  void Send(const uint8_t* bytes, int length) override;
  void Wait(uint32_t ms) override;
  // Writes the whole recording so far, when something was recorded since
  // the last write; a port opened again in the same run goes on with the
  // same recording.
  void Close() override;
  std::string OutputFile() const override { return programPath_; }

  // The recording so far, interleaved stereo.
  const std::vector<int16_t>& Samples() const { return samples_; }

 private:
  std::string name_;
  const char* programPath_;
  std::string soundFont_;
  int capacity_ = -1;  // not yet asked
  std::unique_ptr<Synthesizer> synth_;
  std::vector<int16_t> samples_;
  uint64_t nowMs_ = 0;
  bool unsaved_ = true;
};

}  // namespace drivers
