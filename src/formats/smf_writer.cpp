#include "formats/smf_writer.h"

namespace formats {
namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutVarLen(std::vector<uint8_t>& out, uint64_t v) {
  // Delta times above the format's 28 bits are cut there; a single wait
  // never comes close (waits are at most four seconds).
  if (v > 0x0FFFFFFF) v = 0x0FFFFFFF;
  uint8_t buf[4];
  int n = 0;
  do {
    buf[n++] = static_cast<uint8_t>(v & 0x7F);
    v >>= 7;
  } while (v);
  while (n > 1) out.push_back(buf[--n] | 0x80);
  out.push_back(buf[0]);
}

}  // namespace

std::vector<uint8_t> BuildSmf(const std::vector<TimedMessage>& messages, uint64_t endMs) {
  std::vector<uint8_t> track;
  // Tempo: 500000 microseconds per quarter note.
  const uint8_t tempo[] = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20};
  track.insert(track.end(), tempo, tempo + sizeof tempo);
  uint64_t last = 0;
  for (const TimedMessage& m : messages) {
    PutVarLen(track, m.timeMs - last);
    last = m.timeMs;
    track.insert(track.end(), m.bytes, m.bytes + m.length);
  }
  PutVarLen(track, endMs > last ? endMs - last : 0);
  const uint8_t end[] = {0xFF, 0x2F, 0x00};
  track.insert(track.end(), end, end + sizeof end);

  std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xF4};
  const uint8_t mtrk[] = {'M', 'T', 'r', 'k'};
  file.insert(file.end(), mtrk, mtrk + 4);
  Put32(file, static_cast<uint32_t>(track.size()));
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

}  // namespace formats
