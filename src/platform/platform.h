// The seams between the music logic and the outside world. The logic calls
// only these interfaces; the front end (console or window) installs real
// back ends, tests install fakes.
#pragma once
#include <cstdint>
#include <string>

#include "platform/clipboard.h"
#include "platform/midi_device.h"
#include "platform/registry.h"

namespace platform {

// Message boxes. Types as the program uses them: 64 is OK with the
// information icon (answers 1), 3 is Yes/No/Cancel (answers 6, 7 or 2).
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual int MessageBox(const char* text, const char* caption, unsigned type) = 0;
};

// Synchronous sound cue; path as the program writes it ("\orfeon\edition.wav").
class Sound {
 public:
  virtual ~Sound() = default;
  virtual void PlayCue(const char* path) = 0;
};

// Starting a companion program or page; the command line as the program
// writes it ("\orfeon\clipsend.exe", "start \orfeon\tutoriel.html").
class Programs {
 public:
  virtual ~Programs() = default;
  virtual void Exec(const char* commandLine, int showMode) = 0;
  // Ends what Exec started with this command line and still runs, and
  // returns when it has ended (the companion player gives its device back).
  virtual void End(const char* commandLine) = 0;
};

// Time for the live devices: a monotonic time base in microseconds. The fake
// clock of the tests advances only when asked to sleep.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual void SleepMs(uint32_t ms) = 0;
  virtual uint64_t NowUs() = 0;
  // Sleeps until NowUs() reaches `deadlineUs`; returns at once when it has.
  // This default rounds the rest up to whole milliseconds.
  virtual void SleepUntilUs(uint64_t deadlineUs);
};

// One line of text typed by the user (console front end); false at the end
// of input. The line comes without its line end, in Windows-1252.
class LineInput {
 public:
  virtual ~LineInput() = default;
  virtual bool ReadLine(char* buffer, int size) = 0;
};

// The open and save dialogs of the window: `filter` as "Tablatures
// (*.tab)|*.tab|"; the chosen name (Windows-1252) into `name`. False when
// the user did not confirm, or there is no window to ask in.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual bool ChooseFile(bool save, const char* title, const char* filter, std::string* name) = 0;
};

// Everything the program reaches of the world, installed in one place: the
// front end installs the real back ends, tests install fakes.
struct Services {
  Dialogs* dialogs;
  Sound* sound;
  Programs* programs;
  Clock* clock;
  LineInput* input;
  Clipboard* clipboard;
  Registry* registry;
  // Builds the MIDI output devices in their fixed order, on first use.
  MidiDeviceList (*devices)();
  // Polled for the user's request to stop the music (the window's Escape).
  bool (*stopPoll)();
  FileDialogs* files;
};

// The installed back ends. Never null: until something is installed, boxes
// answer Cancel, cues and programs do nothing, the clock is the system's,
// the clipboard cannot be opened, the registry writes nothing, there is
// no MIDI device and no file dialog.
Services& Get();
void Install(const Services& services);

Clock& SystemClock();

}  // namespace platform
