// Stand-ins for the parser, players, defaults and settings until they land.
#include "core/defaults.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "midi/midi_port.h"
#include "midi/play_string.h"
#include "midi/voice_player.h"
#include "tablature/settings.h"

void ParsePlayString(const char* text, TNoteList& notes, TLengthList& lengths) {
  TWorkingState& s = WorkingState;
  static const int letters[7] = {45, 47, 36, 38, 40, 41, 43};
  int octave = s.Octave, count = 0;
  for (int i = 0; text[i]; ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if ((c >= 'a' && c <= 'g') || c == 'p') {
      if (count < 2047) ++count;
      notes[count] = c == 'p' ? 0 : static_cast<uint8_t>(letters[c - 'a'] + 12 * (octave - 3) + s.Transpose);
      lengths[count] = s.NoteLength * 1000;
    } else if (c == '+' && count) {
      ++notes[count];
    } else if (c == '-' && count) {
      --notes[count];
    } else if (c == '*' && count) {
      notes[count] += 2;
    } else if (c == '\xE1' && count) {
      notes[count] -= 2;
    } else if (c == '>' && octave < 7) {
      ++octave;
    } else if (c == '<' && octave > 0) {
      --octave;
    } else if (c == 'o' && text[i + 1]) {
      int v = text[++i] - '0';
      if (v >= 0 && v <= 8) s.Octave = static_cast<int8_t>(v);
      octave = s.Octave;
    } else if (c == '|' || c == '\n' || c == '\r') {
      octave = s.Octave;
    }
  }
  lengths[0] = static_cast<uint32_t>(count);
  notes.SetCount(count);
}

int PlayNoteList(int8_t base, const TNoteList& notes, const TLengthList& lengths) {
  for (int k = 1; k <= notes.Count; ++k) {
    if (notes[k] == 0) {
      WaitNoteLength(lengths[k]);
      continue;
    }
    int32_t p = NormalizePitch(static_cast<uint8_t>(notes[k] + base));
    SendNoteOn(p);
    WaitNoteLength(lengths[k]);
    SendNoteOff(p);
  }
  return 0;
}

int PlayBlockChord(int8_t first, const TNoteList& intervals, const TLengthList& lengths) {
  int32_t pitches[kListSize];
  pitches[0] = NormalizePitch(first);
  SendNoteOn(pitches[0]);
  WaitNoteLength(lengths[1]);
  uint8_t running = static_cast<uint8_t>(first);
  int n = static_cast<int8_t>(intervals[0]);
  for (int k = 1; k <= n; ++k) {
    running = static_cast<uint8_t>(running + intervals[k]);
    pitches[k] = NormalizePitch(running);
    SendNoteOn(pitches[k]);
  }
  WaitNoteLength(lengths[2]);
  for (int k = 0; k <= n; ++k) SendNoteOff(pitches[k]);
  return 0;
}

int ApplyDefaults() {
  TWorkingState& s = WorkingState;
  s.Channel = 1;
  s.Velocity = 127;
  s.Instrument = 0;
  SendProgramChange(0);
  s.NoteLength = 4;
  s.Transpose = 0;
  s.Repetitions = 0;
  s.Key = 0;
  s.Degree = 1;
  s.Tempo = 60;
  s.Octave = 3;
  s.Voice = 0;
  s.Measure = 1;
  s.LastMeasure = 1000;
  s.MeasureSpan = 1000;
  s.KeySignature[0] = 0;
  s.Indications[0] = 0;
  CopyText(s.TabFile, "\\orfeon\\prv.tab");
  s.NoteLengths[0] = 0;
  for (int i = 1; i < kListSize; ++i) {
    s.ScaleNotes[i] = 36;
    s.NoteLengths[i] = 4000;
  }
  s.InfoText[0] = 0;
  CopyText(s.TabText, "o3 c e g");
  ParsePlayString(s.TabText, s.ChordNotes, s.NoteLengths);
  CopyText(s.TabText, "o3 c d e f g a b >c\n");
  ParsePlayString(s.TabText, s.ScaleNotes, s.NoteLengths);
  return 0;
}

int LoadSettings(char* settingsText, char* scratch) {
  scratch[0] = 0;
  return ReadTextPage(settingsText, 1, "\\orfeon\\lexiton.ini");
}
