#include <cstdint>
#include <string>

#include "core/working_state.h"
#include "fakes/fakes.h"
#include "midi/defaults.h"

namespace {

using Defaults = PavTest;

TEST_F(Defaults, EveryParameterBackToItsDefault) {
  OpenDefaultPort();
  TWorkingState& ws = WorkingState;
  ws.Channel = 5;
  ws.Velocity = 3;
  ws.Instrument = 40;
  ws.NoteLength = 8;
  ws.Transpose = 4;
  ws.Repetitions = 3;
  ws.Key = 7;
  ws.Degree = 5;
  ws.Tempo = 200;
  ws.Octave = 6;
  ws.Voice = 2;
  ws.Measure = 9;
  ws.LastMeasure = 12;
  ws.MeasureSpan = 3;
  ws.MidiDevice = 0;
  ws.Polyphony = 32;
  ws.TimeNumerator = 3;
  ws.TimeDenominator = 8;
  CopyText(ws.KeySignature, "f+c+");
  CopyText(ws.Indications, "ac");
  CopyText(ws.TabFile, "\\orfeon\\autre.tab");
  CopyText(ws.InfoText, "info");
  ws.ChordNotes.SetCount(9);

  EXPECT_EQ(0, ApplyDefaults());

  EXPECT_EQ((std::vector<std::string>{"t=0 program 0"}), MidiLog());
  EXPECT_EQ(1, ws.Channel);
  EXPECT_EQ(127u, ws.Velocity);
  EXPECT_EQ(0, ws.Instrument);
  EXPECT_EQ(4u, ws.NoteLength);
  EXPECT_EQ(0, ws.Transpose);
  EXPECT_EQ(0, ws.Repetitions);
  EXPECT_EQ(0, ws.Key);
  EXPECT_EQ(1, ws.Degree);
  EXPECT_EQ(60u, ws.Tempo);
  EXPECT_EQ(3, ws.Octave);
  EXPECT_EQ(0, ws.Voice);
  EXPECT_EQ(1, ws.Measure);
  EXPECT_EQ(INT32_MAX, ws.LastMeasure);  // the whole mode plays to the end
  EXPECT_EQ(1000u, ws.MeasureSpan);
  EXPECT_STREQ("", ws.KeySignature);
  EXPECT_STREQ("", ws.Indications);
  EXPECT_STREQ("\\orfeon\\prv.tab", ws.TabFile);
  EXPECT_STREQ("", ws.InfoText);
  EXPECT_EQ("o3 c d e f g a b >c\n", ws.TabText);
  // Not touched.
  EXPECT_EQ(32, ws.Polyphony);
  EXPECT_EQ(3, ws.TimeNumerator);
  EXPECT_EQ(8, ws.TimeDenominator);
  EXPECT_NE(nullptr, ws.MidiOut);

  const int scale[] = {36, 38, 40, 41, 43, 45, 47, 48};
  EXPECT_EQ(8, ws.ScaleNotes.Count);
  EXPECT_EQ(8, ws.ScaleNotes[0]);
  for (int k = 1; k <= 8; ++k) EXPECT_EQ(scale[k - 1], ws.ScaleNotes[k]) << k;
  EXPECT_EQ(36, ws.ScaleNotes[9]);
  EXPECT_EQ(36, ws.ScaleNotes[2047]);
  EXPECT_EQ(3, ws.ChordNotes.Count);
  EXPECT_EQ(3, ws.ChordNotes[0]);
  EXPECT_EQ(36, ws.ChordNotes[1]);
  EXPECT_EQ(40, ws.ChordNotes[2]);
  EXPECT_EQ(43, ws.ChordNotes[3]);
  EXPECT_EQ(8u, ws.NoteLengths[0]);
  for (int k = 1; k < kListSize; ++k) ASSERT_EQ(4000u, ws.NoteLengths[k]) << k;
}

TEST_F(Defaults, KeySignatureIsForgottenBeforeTheDefaultScaleIsParsed) {
  OpenDefaultPort();
  CopyText(WorkingState.KeySignature, "c+f+");
  WorkingState.Transpose = 5;
  ApplyDefaults();
  EXPECT_EQ(36, WorkingState.ScaleNotes[1]);
  EXPECT_EQ(41, WorkingState.ScaleNotes[4]);
}

}  // namespace
