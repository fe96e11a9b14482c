// Reading scores from other programs: MusicXML (partwise, plain or
// compressed .mxl) and Standard MIDI Files, into the score model; and the
// MusicXML writer. Every refusal is a French sentence in `error`.
#pragma once
#include <string>

#include "formats/score.h"

namespace formats {

// Chooses the reader from the bytes: a zip archive is .mxl, "MThd" a MIDI
// file, anything else is taken as MusicXML.
bool ReadScoreBytes(const std::string& bytes, TScore* score, std::string* error);

bool ReadMusicXml(const std::string& bytes, TScore* score, std::string* error);
bool ReadCompressedMusicXml(const std::string& bytes, TScore* score, std::string* error);
bool ReadStandardMidi(const std::string& bytes, TScore* score, std::string* error);

// One part as MusicXML 4.0 partwise, its tempo marks as metronome marks
// that sound. Notes of the same start form a chord; each note's duration is
// written as the nearest value with up to two dots, tuplets for values that
// are no power of two.
std::string WriteMusicXml(const TScorePart& part);

}  // namespace formats
