// A score as the notation files hold it, between their readers and writer
// and the tablature: parts of timed notes and annotations, in the order
// they are played (repeats already unrolled). Texts from the files (names,
// annotations) are UTF-8; the readers' own remarks and refusals are the
// program's Windows-1252.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace formats {

// Time unit of the model: exact for every division of the quarter that the
// notation uses (2, 3, 5, 7, 9, 11 and their products up to 128).
constexpr int64_t kTicksPerQuarter = 443520;

struct TScoreNote {
  int64_t start = 0;     // from the start of the piece
  int64_t duration = 0;  // 0 for a grace note
  int pitch = -1;        // MIDI, sounding; -1 a rest
  char step = 0;         // the written letter 'a'..'g' of the sounding pitch; 0 unknown
  int alter = 0;
  std::string voice = "1";
  bool tieStart = false;
  bool tieStop = false;
  bool staccato = false;
  bool glideStart = false;  // a glissando or slide to the next note that ends one
  bool glideStop = false;
  int arpeggio = 0;         // 1 rolled upwards, -1 downwards
  std::string fingering;
  std::string lyric;
};

// An annotation at a time: kind 'n' dynamics, 'h' harmony, 'c' words,
// 'a' key (value = fifths), 'm' time (value = beats, value2 = beat type),
// 't' tempo (value = quarters per minute).
struct TScoreMark {
  int64_t at = 0;
  char kind = 0;
  int value = 0;
  int value2 = 0;
  std::string text;
};

struct TScoreMeasure {
  std::string number;  // as the file numbers it
  int64_t start = 0;
  int64_t length = 0;
  // What the reader could not keep, said at this measure.
  std::vector<std::string> remarks;
};

struct TScorePart {
  std::string name;
  int program = -1;  // 0..127, -1 when none is given
  bool quantize = false;  // played times (MIDI), not written values
  std::vector<TScoreMeasure> measures;
  std::vector<TScoreNote> notes;  // by start time
  std::vector<TScoreMark> marks;  // by time
};

struct TScore {
  std::vector<TScorePart> parts;
};

// Limits on what a reader accepts, beyond which a file is refused.
constexpr size_t kScoreFileLimit = 32u << 20;      // a score file, or one unpacked from .mxl
constexpr size_t kPlayedMeasureLimit = 20000;      // measures once repeats are unrolled
constexpr size_t kScoreNoteLimit = 1u << 20;       // notes of all parts

}  // namespace formats
