// The one record of the run that every command reads and writes.
#pragma once
#include <cstdint>
#include <string>

#include "core/note_lists.h"
#include "platform/midi_out.h"

constexpr int kShortText = 80;   // 79 characters and the NUL
constexpr int kLongText = 2048;  // 2047 characters and the NUL
constexpr int kPageSize = 2048;  // characters of a page read from a small data file

struct TWorkingState {
  int32_t MidiDevice;
  platform::TMidiOut MidiOut;
  uint32_t NoteLength;
  int8_t Octave;
  int8_t Voice;
  int32_t Measure;
  int32_t LastMeasure;
  int32_t Repetitions;
  int8_t Key;
  int8_t Transpose;
  int8_t Degree;
  uint32_t Tempo;
  uint32_t MeasureSpan;
  int32_t TimeNumerator;
  int32_t TimeDenominator;
  int32_t Polyphony;
  int32_t Channel;
  uint32_t Velocity;
  int32_t Instrument;
  char KeySignature[kShortText];
  char TabFile[kShortText];
  char Indications[kShortText];
  char InfoText[kLongText];
  std::string TabText;  // the whole tablature, as long as it is
  TNoteList ScaleNotes;
  TNoteList ChordNotes;
  TLengthList NoteLengths;
};

// Zero and empty at process start; ApplyDefaults fills it.
extern TWorkingState WorkingState;

// Copies at most size - 1 characters and always terminates: every text
// field is filled through this, so none is ever written past its end.
void CopyText(char* destination, int size, const char* source);

template <int N>
void CopyText(char (&destination)[N], const char* source) {
  CopyText(destination, N, source);
}
