#include "drivers/audio_cues.h"

#include <algorithm>
#include <cmath>

#include "drivers/pcm_player.h"
#include "drivers/sound_files.h"
#include "drivers/sound_output.h"
#include "platform/paths.h"

namespace drivers {
namespace {

// A short soft beep, for a cue whose file is missing or unreadable.
PcmSound DefaultSound() {
  constexpr int kRate = 22050;
  constexpr int kFrames = kRate * 12 / 100;
  constexpr int kFade = kRate / 200;
  PcmSound sound;
  sound.channels = 1;
  sound.rate = kRate;
  sound.samples.resize(kFrames);
  for (int i = 0; i < kFrames; ++i) {
    double envelope = std::min({1.0, double(i) / kFade, double(kFrames - i) / kFade});
    sound.samples[static_cast<size_t>(i)] =
        static_cast<int16_t>(std::lround(12000.0 * envelope * std::sin(2 * M_PI * 660.0 * i / kRate)));
  }
  return sound;
}

class SystemCues : public platform::Sound {
 public:
  void PlayCue(const char* path) override {
    if (SoundOutputs().empty()) return;
    PcmSound sound;
    if (!ReadSoundFile(platform::MapPath(path), &sound)) sound = DefaultSound();
    PlayPcm(sound);
  }
};

}  // namespace

platform::Sound& AudioCues() {
  static SystemCues cues;
  return cues;
}

}  // namespace drivers
