// Sound files read whatever their encoding (the cues).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace drivers {

struct PcmSound {
  std::vector<int16_t> samples;  // interleaved
  int channels = 0;
  int rate = 0;
};

// False when the file is missing or is not a sound file.
bool ReadSoundFile(const std::string& path, PcmSound* sound);

}  // namespace drivers
