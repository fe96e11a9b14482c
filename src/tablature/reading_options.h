// The reading options: the letters of `Indications` that tell the guided
// reading what to read out, one command each (604 to 610).
#pragma once

// Asks `question`; Yes adds `letter` (once), No changes nothing, Cancel
// clears every option. The letter "h" also translates the bracketed words
// of the tablature with the dictionary.
void AddReadingOption(const char* question, char letter);

void AddKeySignatureReading(const char* argument);
void AddAdviceReading(const char* argument);
void AddFingeringReading(const char* argument);
void AddHarmonyReading(const char* argument);
void AddMeasureReading(const char* argument);
void AddDynamicsReading(const char* argument);
void AddLyricsReading(const char* argument);
