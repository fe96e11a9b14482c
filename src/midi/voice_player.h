// The voice player (one measure with articulation modes, chord groups and
// spoken announcements) and the block-chord player.
#pragma once
#include <cstdint>

#include "core/note_lists.h"

// Articulation modes, one byte per note.
enum ArticulationMode : uint8_t { kNormal = 0, kLegato = 1, kStaccato = 2, kTenu = 3 };

// One byte per note: the articulation mode of each note.
using TModeList = TSlots<uint8_t>;
// One character per note: its mark, 0 when none.
using TMarkList = TSlots<char>;
// One tempo per note, quarters a minute: the tempo written last before it,
// 0 for a note that plays at `Tempo`.
using TTempoList = TSlots<uint32_t>;

// Plays notes 1..notes.Count. Announcements are made when `announce` is not
// empty. Returns the latest answer: 7 or 2 when the user stopped the
// measure (every note still sounding is then switched off at once), 2 also
// when the music was stopped (StopIfRequested), otherwise the last answer
// given (0 when nothing was asked). Each note plays at its tempo in
// `tempos`; `Tempo` is as it was when the voice ends.
int PlayVoice(int8_t base, const char* announce, const TNoteList& notes, const TLengthList& lengths,
              const TModeList& modes, const TMarkList& marks, const TTempoList& tempos = TTempoList{});

// The lowest note alone for lengths[1], then the others (each `intervals`
// entry the step from the previous chord note) join it for lengths[2], then
// all stop. Returns 0.
int PlayBlockChord(int8_t first, const TNoteList& intervals, const TLengthList& lengths);

int AnnounceMode(uint8_t mode);
int AnnounceMark(char mark);
int AnnounceNote(uint8_t pitch, uint32_t length);
int AnnounceValue(uint32_t length);
