// The sound outputs the built-in synthesizer may play on, as FluidSynth's
// audio drivers name them, best first; empty when there is none. Found by
// cheap checks only, so that asking never waits. PAVSDI_AUDIO may force one
// or none at all ("none").
#pragma once
#include <vector>

namespace drivers {

std::vector<const char*> SynthOutputDrivers();

}  // namespace drivers
