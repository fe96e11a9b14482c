#include "tablature/tablature_interpreter.h"

#include <cstdio>
#include <cstring>

#include "core/data_files.h"
#include "core/numbers.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/play_string.h"

int32_t MeasureEnds[kMeasureTableSize];

int32_t MeasureEnd(int64_t m) { return m >= 0 && m < kMeasureTableSize ? MeasureEnds[m] : 0; }

namespace {

// The lists share the note lists' slots: notes beyond the last slot
// overwrite it.
constexpr int kMaxNotes = kMaxListEntries;

int LetterSemitone(char c) {
  switch (c) {
    case 'c': return 0;
    case 'd': return 2;
    case 'e': return 4;
    case 'f': return 5;
    case 'g': return 7;
    case 'a': return 9;
    case 'b': return 11;
    default: return -1;
  }
}

bool IsEndOfMeasure(char c) { return c == '\n' || c == '\r' || c == '|'; }
bool IsGroupStart(char c) { return c == '(' || c == '[' || c == '{'; }
bool IsGroupEnd(char c) { return c == ')' || c == ']' || c == '}'; }

// The number the next `count` characters of `text` (or fewer at its end)
// read as.
int32_t ReadNumberOf(const char* text, int count) {
  char part[4] = {};
  for (int i = 0; i < count && text[i]; ++i) part[i] = text[i];
  return ReadNumber(part);
}

void Append(char* measureText, const char* piece) {
  size_t used = std::strlen(measureText);
  for (size_t i = 0; piece[i] && used < kLongText - 1; ++i) measureText[used++] = piece[i];
  measureText[used] = 0;
}

struct Reading {
  const char* options;
  int32_t first;
  int32_t last;
  TNoteList& pitches;
  TLengthList& lengths;
  TModeList& modes;
  TMarkList& marks;

  bool measureMode = false;
  int count = 0;         // notes read
  int64_t measures = 0;  // ends of measure met
  uint8_t mode = kNormal;
  char pendingGroup = 0;
  int32_t firstNote = 0;
  int32_t lastNote = 0;
  int octave = 0;
  int answer = 0;
  char measureText[kLongText] = {};

  bool InRange() const { return measureMode && int64_t{first} - 1 <= measures && measures <= last; }

  void Reset() {
    count = 0;
    measures = 0;
    mode = kNormal;
    pendingGroup = 0;
    firstNote = first;
    lastNote = last;
    std::memset(MeasureEnds, 0, sizeof MeasureEnds);
    std::memset(marks, 0, sizeof marks);
    measureText[0] = 0;
  }

  void AddNote(uint8_t pitch) {
    if (count < kMaxNotes) ++count;
    pitches[count] = pitch;
    lengths[count] = WorkingState.NoteLength * 1000;
    modes[count] = mode;
    marks[count] = pendingGroup;
    pendingGroup = 0;
    if (measures + 1 < kMeasureTableSize) MeasureEnds[measures + 1] = count;
  }

  void EndMeasure() {
    octave = WorkingState.Octave;
    ++measures;
    if (!InRange()) return;
    if (first == 1) {
      firstNote = 1;
    } else if (measures == int64_t{first} - 1) {
      firstNote = count + 1;
    }
    if (measures == last) lastNote = count;
    if (measures >= first) {
      char prompt[32];
      std::snprintf(prompt, sizeof prompt, "mesure %lld ", static_cast<long long>(measures));
      answer = AskYesNoCancel(prompt, measureText);
    }
    measureText[0] = 0;
  }

  // Reads the argument of the indication at work[i] ("i", kind, argument,
  // ":"), runs it and reads it out when the options ask for it. Returns the
  // position after it; sets `restart` when the reading must start again.
  size_t Indication(const char* work, size_t i, size_t length, bool* restartFlag, bool* restart) {
    char letter[2] = {i + 1 < length ? work[i + 1] : '\0', 0};
    size_t p = letter[0] ? i + 2 : i + 1;
    static char argument[kLongText];
    size_t n = 0;
    while (p < length && work[p] != ':') {
      if (n < kLongText - 1) argument[n++] = work[p];
      ++p;
    }
    argument[n] = 0;
    if (p < length) ++p;  // the ":"
    char word[kShortText] = {};
    RunIndication(letter, argument, word);
    if (letter[0] && std::strchr(options, letter[0]) && int64_t{first} - 1 <= measures && measures < last) {
      PlayCue(kAnnotationCue);
      ShowInfo(argument, word);
    }
    if (letter[0] == 'a') {
      if (!*restartFlag) {
        *restartFlag = true;
        *restart = true;
      } else {
        ShowInfo("erreur", "vous ne devez pas changer d'armature plusieurs fois");
      }
    }
    return p;
  }

  // Reads one element at work[i]; returns the position after it.
  size_t Element(const char* work, size_t i, size_t length) {
    char c = work[i];
    char next = i + 1 < length ? work[i + 1] : '\0';
    char piece[16] = {c, 0};
    size_t after = i + 1;
    int semitone = LetterSemitone(c);
    if (IsEndOfMeasure(c)) {
      EndMeasure();
      piece[0] = 0;
    } else if (c == 'm') {
      piece[0] = 0;
      if (next) {
        after = i + 2;
        switch (next) {
          case 'n': mode = kNormal; break;
          case 'l': mode = kLegato; break;
          case 's': mode = kStaccato; break;
          case 't': mode = kTenu; break;
          default:
            // The mark goes to the next-to-last note read; before the
            // second note there is none to carry it.
            if (count >= 2) marks[count - 1] = next;
        }
      }
    } else if (IsGroupStart(c)) {
      pendingGroup = c;
    } else if (IsGroupEnd(c)) {
      if (count >= 1) marks[count] = c;
    } else if (semitone >= 0) {
      AddNote(static_cast<uint8_t>(12 * octave + semitone + WorkingState.Transpose));
    } else if (c == 'p') {
      AddNote(0);
    } else if (c == '+' || c == '-' || c == '*' || c == '\xE1') {
      int step = c == '+' ? 1 : c == '-' ? -1 : c == '*' ? 2 : -2;
      pitches[count] = static_cast<uint8_t>(pitches[count] + step);
    } else if (c == '>') {
      if (octave < 7) ++octave;
    } else if (c == '<') {
      if (octave > 0) --octave;
    } else if (c == 'o') {
      piece[0] = next;
      if (next) {
        after = i + 2;
        int v = next >= '0' && next <= '9' ? next - '0' : 0;
        if (v <= 8) WorkingState.Octave = static_cast<int8_t>(v);
      } else {
        WorkingState.Octave = 0;
      }
      octave = WorkingState.Octave;
    } else if (c == 't') {
      int32_t v = ReadNumberOf(work + i + 1, 3);
      if (v >= 31 && v <= 239) WorkingState.Tempo = static_cast<uint32_t>(v);
      size_t consumed = v >= 100 ? 3 : v >= 10 ? 2 : 1;
      after = i + 1 + consumed;
      if (after > length) after = length;
      std::snprintf(piece, sizeof piece, "t%u ", WorkingState.Tempo);
    } else if (c >= '1' && c <= '9') {
      int32_t v = ReadNumberOf(work + i, 2);
      WorkingState.NoteLength = static_cast<uint32_t>(v);
      if (v >= 10) after = i + 2;
      std::snprintf(piece, sizeof piece, "%d ", v);
    } else if (c == '.') {
      if (next == '.') {
        lengths[count] = lengths[count] * 4 / 7;
        after = i + 2;
      } else {
        lengths[count] = lengths[count] * 2 / 3;
      }
      piece[0] = next;
    }
    if (InRange()) Append(measureText, piece);
    return after;
  }
};

// Lowercases A to Z only.
void Lowercase(char* text) {
  for (; *text; ++text)
    if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
}

}  // namespace

int InterpretTablature(const char* text, const char* options, int32_t first, int32_t last,
                       TNoteList& pitches, TLengthList& lengths, TModeList& modes,
                       TMarkList& marks) {
  // Room for the blank that the key-signature translation appends.
  static char work[kPageSize + 2];
  static char translated[kPageSize + 2];
  CopyText(work, kPageSize + 1, text);
  Lowercase(work);

  Reading r{options, first, last, pitches, lengths, modes, marks};
  r.measureMode = std::strchr(options, 'm') != nullptr;
  r.octave = WorkingState.Octave;
  bool restartFlag = false;

  for (;;) {
    if (WorkingState.KeySignature[0] != 0 || restartFlag) {
      translated[0] = 0;
      ApplyKeySignature(work, translated);
      // A translation that grew past a page is cut there.
      CopyText(work, kLongText, translated);
    }
    r.Reset();
    size_t length = std::strlen(work);
    bool restart = false;
    for (size_t i = 0; i < length && !restart;) {
      i = work[i] == 'i' ? r.Indication(work, i, length, &restartFlag, &restart) : r.Element(work, i, length);
    }
    if (!restart) break;
  }

  int32_t from = first;
  int32_t to = last;
  if (r.measureMode) {
    from = r.firstNote;
    to = r.lastNote;
  }
  if (from < 1) from = 1;
  if (to > r.count) to = r.count;
  if (from > to) from = r.count + 1;
  int64_t selected = static_cast<int64_t>(to) - from + 1;
  if (selected < 0) selected = 0;
  for (int k = 1; k <= selected; ++k) {
    pitches[k] = pitches[from + k - 1];
    lengths[k] = lengths[from + k - 1];
    modes[k] = modes[from + k - 1];
    marks[k] = marks[from + k - 1];
  }
  // The true count reaches the player; slot 0 keeps its low 8 bits.
  pitches.SetCount(static_cast<int>(selected));
  lengths[0] = static_cast<uint32_t>(selected);
  modes[0] = static_cast<uint8_t>(selected);
  marks[0] = static_cast<char>(selected);
  WorkingState.MeasureSpan = static_cast<uint32_t>(r.measures);

  if (r.answer != kCancel && r.answer != kNo)
    r.answer = PlayVoice(0, options, pitches, lengths, modes, marks);
  return r.answer;
}
