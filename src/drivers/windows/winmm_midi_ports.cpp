// The system's MIDI output ports through WinMM, the system's own wavetable
// synthesizer among them, appended after the fixed devices.
#include <windows.h>
#include <mmsystem.h>

#include "drivers/system_midi_ports.h"
#include "formats/encoding.h"
#include "formats/wide_text.h"

namespace drivers {
namespace {

class WinmmMidiPort : public platform::LiveMidiDevice {
 public:
  WinmmMidiPort(UINT id, const MIDIOUTCAPSW& caps)
      : id_(id), name_(formats::Utf8ToCp1252(formats::Narrow(caps.szPname))), voices_(caps.wVoices) {}
  std::string Name() const override { return name_; }
  // An internal synthesizer tells its voices; a port to an outside
  // instrument tells none, and General MIDI asks at least this many.
  uint16_t NoteCapacity() override { return voices_ > 0 ? voices_ : 24; }

  bool Open() override {
    Close();
    return midiOutOpen(&handle_, id_, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR;
  }

  void Send(const uint8_t* bytes, int length) override {
    if (!handle_) return;
    DWORD message = bytes[0] | (DWORD{bytes[1]} << 8) | (length > 2 ? DWORD{bytes[2]} << 16 : 0);
    midiOutShortMsg(handle_, message);
  }

  void Close() override {
    if (!handle_) return;
    midiOutReset(handle_);
    midiOutClose(handle_);
    handle_ = nullptr;
  }

  ~WinmmMidiPort() override { Close(); }

 private:
  UINT id_;
  std::string name_;
  uint16_t voices_;
  HMIDIOUT handle_ = nullptr;
};

}  // namespace

void AppendSystemMidiPorts(platform::MidiDeviceList& list) {
  for (UINT id = 0, n = midiOutGetNumDevs(); id < n; ++id) {
    MIDIOUTCAPSW caps;
    if (midiOutGetDevCapsW(id, &caps, sizeof caps) == MMSYSERR_NOERROR)
      list.push_back(std::make_unique<WinmmMidiPort>(id, caps));
  }
}

}  // namespace drivers
