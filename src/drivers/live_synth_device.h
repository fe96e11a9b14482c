// The built-in synthesizer playing on the machine's sound output. Its note
// capacity is 0 when no sound output opens or no soundfont is found; the
// answer is found once, quickly, without loading the soundfont.
#pragma once
#include <memory>

#include "drivers/synthesizer.h"
#include "platform/midi_device.h"

namespace drivers {

class LiveSynthDevice : public platform::LiveMidiDevice {
 public:
  LiveSynthDevice(std::string name, std::string soundFont);
  std::string Name() const override { return name_; }
  uint16_t NoteCapacity() override;
  // Loads the soundfont (first time only) and takes the sound output.
  bool Open() override;
  void Send(const uint8_t* bytes, int length) override;
  // Gives the sound output back (another program may want it); the
  // soundfont stays loaded for the next opening.
  void Close() override;

 private:
  std::string name_;
  std::string soundFont_;
  int capacity_ = -1;  // not yet asked
  std::unique_ptr<Synthesizer> synth_;
};

}  // namespace drivers
