// The built-in General MIDI synthesizer (FluidSynth): it takes channel
// messages and either plays on the sound output or renders samples on
// demand, 44.1 kHz stereo.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace drivers {

constexpr int kSynthRate = 44100;
constexpr uint16_t kSynthPolyphony = 256;

class Synthesizer {
 public:
  // Cheap: no soundfont is loaded yet.
  static std::unique_ptr<Synthesizer> Create();
  ~Synthesizer();

  bool LoadSoundFont(const std::string& path);
  bool HasSoundFont() const { return soundFont_ >= 0; }

  // One complete channel message of `length` bytes.
  void Send(const uint8_t* bytes, int length);

  // `frames` interleaved stereo frames, left then right.
  void Render(int16_t* out, size_t frames);

  // Starts playing on the first sound output that opens within
  // `timeoutMs`; false when none does. An output that neither opens nor
  // fails in that time is given up for the rest of the run.
  bool StartOutput(int timeoutMs);
  void StopOutput();

  struct Parts;

 private:
  explicit Synthesizer(Parts* parts);
  Parts* parts_;
  int soundFont_ = -1;
};

// The soundfont to use: the file PAVSDI_SOUNDFONT names when it is set (a
// wrong name then leaves the synthesizer mute, not another sound), otherwise the
// first General MIDI soundfont of the system's packages (on Windows the one
// that comes with the program); empty when none.
std::string FindSoundFont();

// True when the file starts like a soundfont (a header read, no loading).
bool IsSoundFont(const std::string& path);

}  // namespace drivers
