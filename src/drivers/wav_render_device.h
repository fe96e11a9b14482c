// The built-in synthesizer rendering into a WAV file (44.1 kHz, 16-bit,
// stereo) on its own clock: a wait renders exactly that much music, without
// sleeping, so a whole piece is written in a few seconds. The samples go
// to a temporary file beside the output as they are rendered (memory stays
// the same whatever the length), which replaces the output at close.
#pragma once
#include <memory>

#include "drivers/synthesizer.h"
#include "formats/file_bytes.h"
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
  // Renders the release of the last notes (until the output falls below
  // -60 dBFS, at most 3 s) and puts the file in place, when a note was
  // played since the last close; a port opened again in the same run goes
  // on with the same recording. A file that cannot be written is named in
  // a box and the old one stays.
  void Close() override;
  std::string OutputFile() const override { return programPath_; }

  // Frames of the recording so far.
  size_t Frames() const { return frames_; }

 private:
  // Renders up to frame `target`, writing what the file is to hold.
  void RenderTo(size_t target);
  // The temporary file with what the output holds so far, then silence up
  // to now.
  void StartFile();
  void WriteFrames(const int16_t* samples, size_t frames);

  std::string name_;
  const char* programPath_;
  std::string soundFont_;
  int capacity_ = -1;  // not yet asked
  std::unique_ptr<Synthesizer> synth_;
  formats::AtomicFile file_;
  uint64_t nowMs_ = 0;
  size_t tailFrames_ = 0;       // the releases rendered at the closes
  size_t frames_ = 0;           // rendered
  size_t fileFrames_ = 0;       // in the temporary file
  size_t committedFrames_ = 0;  // in the output
  int lastPeak_ = 0;            // of the last frames rendered
};

}  // namespace drivers
