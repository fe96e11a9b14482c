// Note and rhythm motifs: a melody for the drills to work on, or the rhythm
// in which every later scale and chord is heard.
#pragma once

// 24319: the clipboard's text becomes the note motif (`InfoText`) and is
// played in its own rhythm.
void EditNoteMotif();
// 24320: the clipboard's text becomes the rhythm: its lengths, repeated,
// fill `NoteLengths`.
void EditRhythmMotif();
// 505, F11: one of the five built-in rhythms fills `NoteLengths`.
void ChooseRhythm();

void RegisterMotifCommands();
