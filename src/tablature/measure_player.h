// Plays the current tablature: whole, measure by measure under the user's
// answers, or as a guided reading, as the reading options say.
#pragma once

// The question before each measure of the stepping: the measure, its first
// and its last note.
inline constexpr char kMeasurePrompt[] = "mesure %d : jouer depuis la note %d jusqu'a la note %d";

// Reads the device number and opens the port; false, with a message, when
// the device cannot play.
bool PreparePort();

// Empty `Indications`: notes `Measure` to `LastMeasure`; one blank: stepping
// from measure `Measure`; anything else: guided reading. Returns 0.
int PlayCurrentMeasure();

// The commands 600 to 603.
void PlayAll(const char* argument);
void PlayMeasure(const char* argument);
void NextMeasure(const char* argument);
void PreviousMeasure(const char* argument);
