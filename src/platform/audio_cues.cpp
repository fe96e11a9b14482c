#include "platform/audio_cues.h"

#include <algorithm>
#include <cmath>

#include "platform/paths.h"
#include "platform/pcm_player.h"
#include "platform/sound_files.h"
#include "platform/sound_output.h"

namespace platform {
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

class SystemCues : public Sound {
 public:
  void PlayCue(const char* path) override {
    if (SoundOutputs().empty()) return;
    PcmSound sound;
    if (!ReadSoundFile(MapPath(path), &sound)) sound = DefaultSound();
    PlayPcm(sound);
  }
};

}  // namespace

Sound& AudioCues() {
  static SystemCues cues;
  return cues;
}

}  // namespace platform
