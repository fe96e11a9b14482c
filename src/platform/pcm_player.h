// Plays a sound to its end on the first sound output that takes it.
#pragma once
#include "platform/sound_files.h"

namespace platform {

// False, at once, when there is no sound output.
bool PlayPcm(const PcmSound& sound);

}  // namespace platform
