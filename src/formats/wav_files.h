// WAV files: the rendered music is written as 16-bit PCM.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace formats {

// The bytes of a 16-bit PCM WAV file holding `frames` interleaved frames:
// the canonical 44-byte header, then the samples, little-endian.
std::vector<uint8_t> BuildWav(const int16_t* samples, size_t frames, int channels, int rate);

// The 44-byte header alone, for a file whose samples are written as they
// come.
std::vector<uint8_t> WavHeader(size_t frames, int channels, int rate);
constexpr size_t kWavHeaderSize = 44;

}  // namespace formats
