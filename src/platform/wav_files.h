// WAV files: the rendered music is written as 16-bit PCM, the sound cues
// are read whatever their encoding.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The bytes of a 16-bit PCM WAV file holding `frames` interleaved frames.
std::vector<uint8_t> BuildWav(const int16_t* samples, size_t frames, int channels, int rate);

struct PcmSound {
  std::vector<int16_t> samples;  // interleaved
  int channels = 0;
  int rate = 0;
};

// False when the file is missing or is not a sound file.
bool ReadSoundFile(const std::string& path, PcmSound* sound);

}  // namespace platform
