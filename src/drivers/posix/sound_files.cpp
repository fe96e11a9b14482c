#include <sndfile.h>

#include "drivers/sound_module.h"

namespace drivers {

bool sound_module::ReadSoundFile(const std::string& path, PcmSound* sound) {
  SF_INFO info = {};
  SNDFILE* in = sf_open(path.c_str(), SFM_READ, &info);
  if (!in) return false;
  sound->channels = info.channels;
  sound->rate = info.samplerate;
  sound->samples.resize(static_cast<size_t>(info.frames) * static_cast<size_t>(info.channels));
  sf_count_t got = sf_readf_short(in, sound->samples.data(), info.frames);
  sound->samples.resize(static_cast<size_t>(got) * static_cast<size_t>(info.channels));
  sf_close(in);
  return info.channels > 0 && info.samplerate > 0;
}

}  // namespace drivers
