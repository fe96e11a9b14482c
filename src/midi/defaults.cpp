#include "midi/defaults.h"

#include <cstdint>

#include "core/data_files.h"
#include "core/working_state.h"
#include "midi/midi_port.h"
#include "midi/play_string.h"

int ApplyDefaults() {
  TWorkingState& ws = WorkingState;
  ws.Channel = 1;
  ws.Velocity = 127;
  ws.Instrument = 0;
  SendProgramChange(0);
  ws.NoteLength = 4;
  ws.Transpose = 0;
  ws.Repetitions = 0;
  ws.Key = 0;
  ws.Degree = 1;
  ws.Tempo = 60;
  ws.Octave = 3;
  ws.Voice = 0;
  ws.Measure = 1;
  // The whole mode plays to the end, however long the piece.
  ws.LastMeasure = INT32_MAX;
  ws.MeasureSpan = 1000;
  ws.KeySignature[0] = 0;
  ws.Indications[0] = 0;
  CopyText(ws.TabFile, kWorkingCopy);
  // The scale's count and the whole chord are left to the parses below.
  ws.NoteLengths[0] = 0;
  for (int i = 1; i < kListSize; ++i) {
    ws.ScaleNotes[i] = 36;
    ws.NoteLengths[i] = 4000;
  }
  ws.InfoText[0] = 0;
  ws.TabText = "o3 c e g";
  ParsePlayString(ws.TabText.c_str(), ws.ChordNotes, ws.NoteLengths);
  ws.TabText = "o3 c d e f g a b >c\n";
  ParsePlayString(ws.TabText.c_str(), ws.ScaleNotes, ws.NoteLengths);
  return 0;
}
