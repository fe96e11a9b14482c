#include "harmony/chords.h"

#include "core/working_state.h"

TStepPattern OddSteps(int8_t count) { return {count, {1, 3, 5, 7, 9, 11, 13}}; }

void BuildChord(int8_t degree, const TNoteList& scale, const TStepPattern& pattern, TNoteList& chord) {
  if (degree < 1 || degree > 7) degree = 1;
  int count = pattern.Count < 2 || pattern.Count > 7 ? 3 : pattern.Count;
  chord.SetCount(count);
  for (int i = 1; i <= count; ++i) {
    int k = degree + pattern.Steps[i - 1] - 1;
    chord[i] = k >= 1 && k <= scale.Count ? scale[k] : 0;
  }
}

namespace {

// Keys whose chords are written with sharps; the others take flats.
bool SharpKey(int key) {
  return key == 0 || key == 2 || key == 4 || key == 7 || key == 9 || key == 11;
}

const char* const kSharpNames[12] = {"c", "c+", "d", "d+", "e", "f", "f+", "g", "g+", "a", "a+", "b"};
const char* const kFlatNames[12] = {"c", "d-", "d", "e-", "e", "f", "g-", "g", "a-", "a", "b-", "b"};

class TTextWriter {
 public:
  TTextWriter(char* text, int size) : text_(text), size_(size) {
    if (size_ > 0) text_[0] = 0;
  }
  void Put(char c) {
    if (used_ + 1 >= size_) return;
    text_[used_++] = c;
    text_[used_] = 0;
  }
  void Put(const char* s) {
    while (*s) Put(*s++);
  }

 private:
  char* text_;
  int size_;
  int used_ = 0;
};

}  // namespace

void SpellNoteList(const TNoteList& notes, char* text, int size) {
  TTextWriter out(text, size);
  const int8_t savedOctave = WorkingState.Octave;
  const char* const* names = SharpKey(WorkingState.Key) ? kSharpNames : kFlatNames;
  int octave = savedOctave;
  for (int i = 1; i <= notes.Count; ++i) {
    int pitch = static_cast<int8_t>(notes[i]);
    int q = pitch / 12;
    int r = pitch - 12 * q;
    // A pitch that reads negative still gets the name of its pitch class.
    if (r < 0) r += 12;
    for (; q > octave; ++octave) out.Put('>');
    for (; q < octave; --octave) out.Put('<');
    out.Put(names[r]);
  }
  WorkingState.Octave = savedOctave;
}
