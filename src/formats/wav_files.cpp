#include "formats/wav_files.h"

namespace formats {
namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<uint8_t> WavHeader(size_t frames, int channels, int rate) {
  const uint32_t dataBytes = static_cast<uint32_t>(frames * static_cast<size_t>(channels) * 2);
  const uint32_t frameBytes = static_cast<uint32_t>(channels) * 2;
  std::vector<uint8_t> out;
  out.reserve(kWavHeaderSize + dataBytes);
  PutTag(out, "RIFF");
  Put(out, 36 + dataBytes, 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, static_cast<uint32_t>(channels), 2);
  Put(out, static_cast<uint32_t>(rate), 4);
  Put(out, static_cast<uint32_t>(rate) * frameBytes, 4);
  Put(out, frameBytes, 2);
  Put(out, 16, 2);
  PutTag(out, "data");
  Put(out, dataBytes, 4);
  return out;
}

std::vector<uint8_t> BuildWav(const int16_t* samples, size_t frames, int channels, int rate) {
  std::vector<uint8_t> out = WavHeader(frames, channels, rate);
  for (size_t i = 0; i < frames * static_cast<size_t>(channels); ++i)
    Put(out, static_cast<uint16_t>(samples[i]), 2);
  return out;
}

}  // namespace formats
