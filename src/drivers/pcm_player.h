// Plays a sound to its end on the first sound output that takes it.
#pragma once
#include "drivers/sound_files.h"

namespace drivers {

// False, at once, when there is no sound output.
bool PlayPcm(const PcmSound& sound);

}  // namespace drivers
