// The tablature interpreter: reads a whole tablature text, keeps the notes
// of a range in four lists, reads out the selected indications and measures,
// and plays the range.
#pragma once
#include <cstdint>

#include "core/note_lists.h"
#include "midi/voice_player.h"

// The lists of one reading, as the players keep them.
struct TReadingLists {
  TNoteList pitches;
  TLengthList lengths;
  TModeList modes;
  TMarkList marks;
  TTempoList tempos;
};

// The index (over the whole text, from 1) of the last note of measure `m`
// at the latest reading; 0 for a measure without notes and beyond the last.
int32_t MeasureEnd(int64_t m);

// The notes of the whole text at the latest reading.
int32_t NotesRead();

// Reads `text` as InterpretTablature does, and plays nothing. Returns 2 or 7
// when the user answered so to a measure prompt, otherwise 0.
int ReadTablature(const char* text, const char* options, int32_t first, int32_t last, TReadingLists& lists);

// Reads `text` with the reading options `options` and plays notes `first`
// to `last` (measure numbers when the options hold "m", note indices
// otherwise). `MeasureSpan` becomes the number of measures: those closed by
// an end of measure, and the notes after the last one if there are any. The
// lists receive the selection in slots 1..count. Each note plays at the
// tempo written last before it; notes before any tempo, at the `Tempo` the
// whole text leaves. Returns 2 or 7 when the user answered so to a measure
// prompt (nothing is then played), otherwise what the voice player returns.
int InterpretTablature(const char* text, const char* options, int32_t first, int32_t last, TReadingLists& lists);
