// Windows' sound outputs, best first: WASAPI (the shared mixer, low
// latency), then DirectSound and waveOut for systems or drivers without it.
// Opening one that is missing fails at once, so all are offered.
#include <cstdlib>
#include <cstring>

#include "drivers/synth_outputs.h"

namespace drivers {

std::vector<const char*> SynthOutputDrivers() {
  static const char* const kDrivers[] = {"wasapi", "dsound", "waveout"};
  const char* forced = std::getenv("PAVSDI_AUDIO");
  if (!forced || !*forced) return {std::begin(kDrivers), std::end(kDrivers)};
  for (const char* driver : kDrivers)
    if (std::strcmp(forced, driver) == 0) return {driver};
  return {};  // "none", or an output this system lacks
}

}  // namespace drivers
