// Note and length lists, the form in which every player receives music.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Slots of the drills' lists that the defaults fill, and the entries the
// play-string parser keeps (a play-string is at most 2047 characters); a
// tablature's lists grow with the text.
constexpr int kListSize = 2048;
constexpr int kMaxListEntries = kListSize - 1;

// A list indexed from 1, slot 0 kept for a count as the players' lists
// always had it. It grows to the slots written; a slot never written reads
// as 0.
template <typename T>
class TSlots {
 public:
  T& operator[](size_t i) {
    if (i >= slots_.size()) slots_.resize(i + 1);
    return slots_[i];
  }
  T operator[](size_t i) const { return i < slots_.size() ? slots_[i] : T{}; }

 private:
  std::vector<T> slots_;
};

// A note list: slot 0 holds the count's low 8 bits, slots 1..Count the
// pitches (MIDI numbering, 0 is a rest). A byte cannot hold the count, so
// the true count travels beside it and the players read that.
struct TNoteList {
  TSlots<uint8_t> Notes;
  int32_t Count = 0;

  uint8_t& operator[](size_t i) { return Notes[i]; }
  uint8_t operator[](size_t i) const { return Notes[i]; }
  void SetCount(int32_t count) {
    Count = count;
    Notes[0] = static_cast<uint8_t>(count);
  }
};

// A length list: element 0 the count, element k the length of note k as
// note value x 1000 (4000 a quarter note).
using TLengthList = TSlots<uint32_t>;
