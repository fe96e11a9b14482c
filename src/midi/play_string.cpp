#include "midi/play_string.h"

#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/play_string_text.h"

namespace {

// Pitches of the letters a..g in octave 3.
constexpr uint8_t kLetterPitch[7] = {45, 47, 36, 38, 40, 41, 43};

struct Parse {
  TNoteList& notes;
  TLengthList& lengths;
  int octave;  // the working octave
  int count;

  void Append(uint8_t pitch, uint32_t length) { count = AppendNote(notes, lengths, count, pitch, length); }
  void Raise(int semitones) {
    if (count > 0) notes[count] = static_cast<uint8_t>(notes[count] + semitones);
  }
};

// Runs the indication starting at work[i] ("i"); returns the index of its
// last character and sets `letter`.
int ReadIndication(const char* work, int i, char& letter) {
  letter = work[i + 1];
  if (!letter) return i;
  char argument[kLongText];
  int end = i + 2;
  int n = 0;
  for (; work[end] && work[end] != ':'; ++end)
    if (n < kLongText - 1) argument[n++] = work[end];
  argument[n] = 0;
  const char letterText[2] = {letter, 0};
  char word[kShortText];
  RunIndication(letterText, argument, word);
  return work[end] ? end : end - 1;
}

// One pass over the text; returns true when a key-signature indication asks
// for the parse to start again.
bool ReadTokens(const char* work, Parse& parse, bool restarted) {
  TWorkingState& ws = WorkingState;
  for (int i = 0; work[i]; ++i) {
    char c = work[i];
    if (c == 'i') {
      char letter;
      i = ReadIndication(work, i, letter);
      if (letter != 'a') continue;
      if (!restarted) return true;
      ShowInfo("erreur", "vous ne devez pas changer d'armature plusieurs fois");
    } else if (c == '|' || c == '\r' || c == '\n') {
      parse.octave = ws.Octave;
    } else if (c >= 'a' && c <= 'g') {
      parse.Append(static_cast<uint8_t>(kLetterPitch[c - 'a'] + 12 * (parse.octave - 3) + ws.Transpose),
                   ws.NoteLength * 1000u);
    } else if (c == 'p') {
      int32_t v = ReadNumberAt(work + i + 1, 2);
      uint32_t length = ws.NoteLength * 1000u;
      if (v != 0) {
        length = static_cast<uint32_t>(v) * 1000u;
        i += v < 10 ? 1 : 2;
      }
      parse.Append(0, length);
    } else if (c == '+') {
      parse.Raise(1);
    } else if (c == '-') {
      parse.Raise(-1);
    } else if (c == '*') {
      parse.Raise(2);
    } else if (c == '\xE1') {
      parse.Raise(-2);
    } else if (c == '>') {
      if (parse.octave < 7) ++parse.octave;
    } else if (c == '<') {
      if (parse.octave > 0) --parse.octave;
    } else if (c == 'o') {
      // Any character reads as a number: a non-digit gives octave 0.
      int32_t n = ReadNumberAt(work + i + 1, 1);
      if (n >= 0 && n <= 8) ws.Octave = static_cast<int8_t>(n);
      parse.octave = ws.Octave;
      if (work[i + 1]) ++i;
    } else if (c == 't') {
      int32_t n = ReadNumberAt(work + i + 1, 3);
      if (n >= 31 && n <= 260) ws.Tempo = static_cast<uint32_t>(n);
      int consumed = n >= 100 ? 3 : (n >= 10 ? 2 : 1);
      for (; consumed > 0 && work[i + 1]; --consumed) ++i;
    } else if (c >= '1' && c <= '9') {
      int32_t v = ReadNumberAt(work + i, 2);
      ws.NoteLength = static_cast<uint32_t>(v);
      if (v >= 10) ++i;
    } else if (c == '.') {
      bool twice = work[i + 1] == '.';
      if (twice) ++i;
      if (parse.count > 0) {
        uint32_t& length = parse.lengths[parse.count];
        length = twice ? length * 4 / 7 : length * 2 / 3;
      }
    }
  }
  return false;
}

}  // namespace

int AppendNote(TNoteList& notes, TLengthList& lengths, int count, uint8_t pitch, uint32_t length) {
  if (count < kMaxListEntries) ++count;
  notes[count] = pitch;
  lengths[count] = length;
  return count;
}

void ParsePlayString(const char* text, TNoteList& notes, TLengthList& lengths) {
  TWorkingState& ws = WorkingState;
  char work[kLongText];
  CopyText(work, text);
  LowercaseAscii(work);
  Parse parse{notes, lengths, ws.Octave, 0};
  bool restarted = false;
  for (;;) {
    if (ws.KeySignature[0] || restarted) {
      char translated[kLongText];
      ApplyKeySignature(work, translated);
      CopyText(work, translated);
    }
    // The second pass keeps the working octave and the settings reached.
    parse.count = 0;
    if (!ReadTokens(work, parse, restarted)) break;
    restarted = true;
  }
  lengths[0] = static_cast<uint32_t>(parse.count);
  notes.SetCount(parse.count);
}
