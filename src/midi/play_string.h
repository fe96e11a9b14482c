// The play-string: the program's text notation of music, its parser and the
// one-note-at-a-time player.
#pragma once
#include <cstdint>
#include <string>

#include "core/note_lists.h"

// Parses a play-string (at most 2047 characters; the text is not changed)
// into a note list and a length list, updating the working state as its
// tokens say.
void ParsePlayString(const char* text, TNoteList& notes, TLengthList& lengths);

// Appends one entry to lists that hold `count` entries and returns the new
// count; a full list keeps overwriting its last slot.
int AppendNote(TNoteList& notes, TLengthList& lengths, int count, uint8_t pitch, uint32_t length);

// Plays every entry, each note switched off before the next starts; `base`
// is added to every pitch (8 bits). Returns 0.
int PlayNoteList(int8_t base, const TNoteList& notes, const TLengthList& lengths);

// Rewrites `text` (a buffer of 2048 characters: a blank is appended and it
// is lowercased in place) into `out` (2048 characters) so that every note
// carries the accidental the key signature or its bar gives it; key-signature
// indications are taken out and set `KeySignature`.
void ApplyKeySignature(char* text, char* out);
// The same over a text of any length; the translation is returned whole.
std::string ApplyKeySignature(std::string text);

// Executes the indication of letter `letter` (a one-character text) with
// `argument` (a buffer of 2048 characters; the dynamics indication writes
// its word there) and writes the indication's word into `word` (80
// characters). Returns 0.
int RunIndication(const char* letter, char* argument, char* word);
