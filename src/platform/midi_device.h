// One MIDI output device: the few things every back end does.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/deadline_timer.h"

namespace platform {

class MidiDevice {
 public:
  virtual ~MidiDevice() = default;
  // Name as shown to the user, Windows-1252.
  virtual std::string Name() const = 0;
  // How many notes it can sound at once; 0 means it cannot be used.
  virtual uint16_t NoteCapacity() = 0;
  virtual bool Open() = 0;
  // One complete channel message of `length` bytes (2 or 3).
  virtual void Send(const uint8_t* bytes, int length) = 0;
  // Lets `ms` milliseconds of music pass: live devices sleep (and wake at
  // once when the user asks to stop), recorders advance their own clock.
  virtual void Wait(uint32_t ms) = 0;
  virtual void Close() = 0;
  // For a recorder, the file it writes as the program names it
  // ("\orfeon\sortie.mid"); empty for a device that plays.
  virtual std::string OutputFile() const { return {}; }
};

// A device that plays in real time: its waits sleep on the clock to
// absolute deadlines (see deadline_timer.h).
class LiveMidiDevice : public MidiDevice {
 public:
  void Wait(uint32_t ms) override;

 private:
  formats::DeadlineTimer timer_;
};

using MidiDeviceList = std::vector<std::unique_ptr<MidiDevice>>;

}  // namespace platform
