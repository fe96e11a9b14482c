// Scores of other programs as tablatures, and tablatures as scores: the
// notation's values, chords, ties, measures and annotations in the
// tablature's own terms, and back.
#pragma once
#include <string>
#include <vector>

#include "formats/score.h"

// The voices of a part, in the order their first notes come.
std::vector<std::string> PartVoices(const formats::TScorePart& part);

// The tablature text (Windows-1252, one measure a line) of one part:
// `voice` one of its voices, or "" for all of them merged into chords.
// What the tablature cannot hold is approximated and said in `report`, one
// line per measure (Windows-1252).
std::string ScoreToTablature(const formats::TScorePart& part, const std::string& voice,
                             std::vector<std::string>* report);

// The tablature as PavSdi plays it, as a score of one part named `name`:
// notes, values, chord groups, rests, measures, key, time, the tempo where
// it changes, and the annotations.
formats::TScorePart TablatureToScore(const char* text, const std::string& name);
