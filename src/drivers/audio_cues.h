// Sound cues played on the machine's sound output, synchronously, to their
// end. A missing file plays a short default sound; with no sound output the
// cue is silence, without delay and without a message.
#pragma once
#include "platform/platform.h"

namespace drivers {

platform::Sound& AudioCues();

}  // namespace drivers
