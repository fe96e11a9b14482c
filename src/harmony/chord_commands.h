// The chord drills of the Harm menu: chord sizes, inversions, cadences and
// the replay of the current chord.
#pragma once

// The Accord command: asks for a chord size, builds it on `Degree` from the
// current scale, shows and plays it. Returns 2 (Cancel) or 7 (No at the
// last size) when nothing was built, 6 otherwise.
int ChooseChord();

void InvertChord();    // Renverser
void PlayCadence();    // Cadence
void PlayChordDrill(); // Jouer Accord
