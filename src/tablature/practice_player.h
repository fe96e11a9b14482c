// Practice: a passage played again and again, slower first, and a count-in
// and a metronome for every playing without questions.
#pragma once
#include <cstdint>

#include "tablature/tablature_interpreter.h"

struct TPracticeSettings {
  // Kept in the settings file.
  bool countIn;    // one measure of clicks before playing
  bool metronome;  // a click on every beat while playing
  // The loop, for the session.
  int32_t firstMeasure;  // 0: the current measure
  int32_t lastMeasure;
  int32_t percent;  // of the tempo, 25 to 200
  int32_t step;     // added after each pass while below 100
  int32_t passes;   // 0: until Escape
};
extern TPracticeSettings Practice;

constexpr int32_t kSlowestPercent = 25;
constexpr int32_t kFastestPercent = 200;

// Plays the lists read from a tablature with the count-in and the metronome
// that the settings ask for; plainly when they ask for none. Returns what
// the voice player returns.
int PlayPracticed(const TReadingLists& lists);

// Plays measures `first` to `last` of the current tablature as the loop
// settings say. Returns false, with a message, when they hold no note or
// when an endless loop would go into a recording.
bool PlayLoop(int32_t first, int32_t last);

// The commands of the Pratique menu.
void LoopCommand(const char* argument);
void LoopSettingsCommand(const char* argument);
void CountInCommand(const char* argument);
void MetronomeCommand(const char* argument);
