#include "drivers/sound_output.h"

#include "drivers/synth_outputs.h"

#include <alsa/asoundlib.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace drivers {
namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

// Only a server that is already running counts: a client library left to
// itself might start one, or wait for it.
bool PulseServerPresent() {
  if (Env("PULSE_SERVER")) return true;
  const char* runtime = Env("XDG_RUNTIME_DIR");
  return runtime && Exists(std::string(runtime) + "/pulse/native");
}

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::vector<SoundOutput> SoundOutputs() {
  const char* forced = Env("PAVSDI_AUDIO");
  if (forced && std::strcmp(forced, "none") == 0) return {};
  if (forced && std::strcmp(forced, "pulseaudio") == 0) return {SoundOutput::kPulseAudio};
  if (forced && std::strcmp(forced, "alsa") == 0) return {SoundOutput::kAlsa};
  std::vector<SoundOutput> outputs;
  if (PulseServerPresent()) outputs.push_back(SoundOutput::kPulseAudio);
  if (Exists("/dev/snd")) outputs.push_back(SoundOutput::kAlsa);
  return outputs;
}

std::vector<const char*> SynthOutputDrivers() {
  QuietAlsa();
  std::vector<const char*> drivers;
  for (SoundOutput output : SoundOutputs()) drivers.push_back(output == SoundOutput::kPulseAudio ? "pulseaudio" : "alsa");
  return drivers;
}

void QuietAlsa() { snd_lib_error_set_handler(IgnoreAlsaError); }

}  // namespace drivers
