// Sound cues with the system's own player, synchronously, to their end. A
// missing file plays the system's default sound.
#include <windows.h>
#include <mmsystem.h>

#include "drivers/audio_cues.h"
#include "formats/wide_text.h"
#include "platform/paths.h"

namespace drivers {
namespace {

class SystemCues : public platform::Sound {
 public:
  void PlayCue(const char* path) override {
    PlaySoundW(formats::Widen(platform::MapPath(path)).c_str(), nullptr, SND_FILENAME | SND_SYNC);
  }
};

}  // namespace

platform::Sound& AudioCues() {
  static SystemCues cues;
  return cues;
}

}  // namespace drivers
