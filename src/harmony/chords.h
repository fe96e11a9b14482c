// Chords built out of the current scale by stacking scale steps on a
// degree, and their spelling back into play-string letters.
#pragma once
#include <cstdint>

#include "core/note_lists.h"

// A count (2..7) and that many step numbers: 1-based distances in scale
// steps from the degree (1 the degree itself, 3 the third, 8 the octave of
// a seven-note scale).
struct TStepPattern {
  int8_t Count;
  int8_t Steps[7];
};

// The odd steps 1, 3, ..., 13 with `count`.
TStepPattern OddSteps(int8_t count);

// Fills `chord` from `scale`: note i is the scale note `degree` + step i - 1,
// a rest when that lies outside the scale. A degree outside 1..7 counts as
// 1, a pattern count outside 2..7 as 3.
void BuildChord(int8_t degree, const TNoteList& scale, const TStepPattern& pattern, TNoteList& chord);

// Writes the notes as letters (sharps or flats after `Key`) with ">" and "<"
// marks relative to `Octave`, no blanks; `Octave` is left as it was. The
// text is cut to `size` characters, the NUL included.
void SpellNoteList(const TNoteList& notes, char* text, int size);
