#include "platform/wav_files.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// libsndfile writes through these into a growing buffer.
struct MemoryFile {
  std::vector<uint8_t> bytes;
  sf_count_t position = 0;
};

sf_count_t Length(void* user) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size()); }

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
  auto* file = static_cast<MemoryFile*>(user);
  sf_count_t base = whence == SEEK_CUR ? file->position : whence == SEEK_END ? Length(user) : 0;
  file->position = std::max<sf_count_t>(0, base + offset);
  return file->position;
}

sf_count_t Read(void* to, sf_count_t count, void* user) {
  auto* file = static_cast<MemoryFile*>(user);
  sf_count_t n = std::clamp<sf_count_t>(Length(user) - file->position, 0, count);
  std::memcpy(to, file->bytes.data() + file->position, static_cast<size_t>(n));
  file->position += n;
  return n;
}

sf_count_t Write(const void* from, sf_count_t count, void* user) {
  auto* file = static_cast<MemoryFile*>(user);
  size_t end = static_cast<size_t>(file->position + count);
  if (end > file->bytes.size()) file->bytes.resize(end);
  std::memcpy(file->bytes.data() + file->position, from, static_cast<size_t>(count));
  file->position += count;
  return count;
}

sf_count_t Tell(void* user) { return static_cast<MemoryFile*>(user)->position; }

}  // namespace

std::vector<uint8_t> BuildWav(const int16_t* samples, size_t frames, int channels, int rate) {
  SF_VIRTUAL_IO io = {Length, Seek, Read, Write, Tell};
  MemoryFile file;
  SF_INFO info = {};
  info.samplerate = rate;
  info.channels = channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* out = sf_open_virtual(&io, SFM_WRITE, &info, &file);
  if (!out) return {};
  sf_writef_short(out, samples, static_cast<sf_count_t>(frames));
  sf_close(out);
  return std::move(file.bytes);
}

bool ReadSoundFile(const std::string& path, PcmSound* sound) {
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

}  // namespace platform
