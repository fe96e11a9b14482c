// Note and length lists, the form in which every player receives music.
#pragma once
#include <cstdint>

constexpr int kListSize = 2048;          // slots, slot 0 included
constexpr int kMaxListEntries = kListSize - 1;

// A note list: byte 0 holds the count's low 8 bits, bytes 1..2047 the
// pitches (MIDI numbering, 0 is a rest). A byte cannot hold 2047, so the
// true count travels beside it and the players read that.
struct TNoteList {
  uint8_t Notes[kListSize];
  uint16_t Count;

  uint8_t& operator[](int i) { return Notes[i]; }
  uint8_t operator[](int i) const { return Notes[i]; }
  void SetCount(int count) {
    Count = static_cast<uint16_t>(count);
    Notes[0] = static_cast<uint8_t>(count);
  }
};

// A length list: element 0 the count, element k the length of note k as
// note value x 1000 (4000 a quarter note).
using TLengthList = uint32_t[kListSize];
