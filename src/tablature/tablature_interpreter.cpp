#include "tablature/tablature_interpreter.h"

#include <cstdio>
#include <cstring>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/play_string.h"
#include "tablature/tablature_elements.h"

int32_t MeasureEnds[kMeasureTableSize];

int32_t MeasureEnd(int64_t m) { return m >= 0 && m < kMeasureTableSize ? MeasureEnds[m] : 0; }

namespace {
int32_t notesRead = 0;
}  // namespace

int32_t NotesRead() { return notesRead; }

namespace {

// The lists share the note lists' slots: notes beyond the last slot
// overwrite it.
constexpr int kMaxNotes = kMaxListEntries;

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
  int64_t measures = 0;  // measures closed
  bool measureHasNotes = false;
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
    measureHasNotes = false;
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
    measureHasNotes = true;
    if (measures + 1 < kMeasureTableSize) MeasureEnds[measures + 1] = count;
  }

  void EndMeasure() {
    octave = WorkingState.Octave;
    ++measures;
    measureHasNotes = false;
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

  // Runs the indication `e` and reads it out when the options ask for
  // it; sets `restart` when the reading must start again.
  void Indication(const char* work, const TabElement& e, bool* restartFlag, bool* restart) {
    char letter[2] = {e.letter, 0};
    static char argument[kLongText];
    size_t n = 0;
    for (size_t p = e.argumentAt; p < e.argumentEnd; ++p)
      if (n < kLongText - 1) argument[n++] = work[p];
    argument[n] = 0;
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
  }

  // Acts on the element `e` (not an indication) of `work`.
  void Element(const char* work, const TabElement& e) {
    char c = work[e.at];
    char next = e.at + 1 < e.after || e.kind == TabElementKind::kDot ? work[e.at + 1] : '\0';
    char piece[16] = {c, 0};
    switch (e.kind) {
      case TabElementKind::kEndOfMeasure:
        EndMeasure();
        piece[0] = 0;
        break;
      case TabElementKind::kMode:
        piece[0] = 0;
        switch (e.letter) {
          case 0: break;
          case 'n': mode = kNormal; break;
          case 'l': mode = kLegato; break;
          case 's': mode = kStaccato; break;
          case 't': mode = kTenu; break;
          default:
            // The mark goes to the next-to-last note read; before the
            // second note there is none to carry it.
            if (count >= 2) marks[count - 1] = e.letter;
        }
        break;
      case TabElementKind::kGroupStart: pendingGroup = c; break;
      case TabElementKind::kGroupEnd:
        if (count >= 1) marks[count] = c;
        break;
      case TabElementKind::kNote:
        AddNote(static_cast<uint8_t>(12 * octave + LetterSemitone(c) + WorkingState.Transpose));
        break;
      case TabElementKind::kRest: AddNote(0); break;
      case TabElementKind::kAccidental: {
        int step = c == '+' ? 1 : c == '-' ? -1 : c == '*' ? 2 : -2;
        pitches[count] = static_cast<uint8_t>(pitches[count] + step);
        break;
      }
      case TabElementKind::kOctaveUp:
        if (octave < 7) ++octave;
        break;
      case TabElementKind::kOctaveDown:
        if (octave > 0) --octave;
        break;
      case TabElementKind::kOctave:
        piece[0] = next;
        if (e.value <= 8) WorkingState.Octave = static_cast<int8_t>(e.value);
        octave = WorkingState.Octave;
        break;
      case TabElementKind::kTempo:
        if (e.value >= 31 && e.value <= 239) WorkingState.Tempo = static_cast<uint32_t>(e.value);
        std::snprintf(piece, sizeof piece, "t%u ", WorkingState.Tempo);
        break;
      case TabElementKind::kNoteValue:
        WorkingState.NoteLength = static_cast<uint32_t>(e.value);
        std::snprintf(piece, sizeof piece, "%d ", e.value);
        break;
      case TabElementKind::kDoubleDot:
        lengths[count] = lengths[count] * 4 / 7;
        piece[0] = next;
        break;
      case TabElementKind::kDot:
        lengths[count] = lengths[count] * 2 / 3;
        piece[0] = next;
        break;
      case TabElementKind::kIndication:
      case TabElementKind::kOther: break;
    }
    if (InRange()) Append(measureText, piece);
  }
};

// Lowercases A to Z only.
void Lowercase(char* text) {
  for (; *text; ++text)
    if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
}

}  // namespace

int ReadTablature(const char* text, const char* options, int32_t first, int32_t last, TNoteList& pitches,
                  TLengthList& lengths, TModeList& modes, TMarkList& marks) {
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
      TabElement e = ReadTabElement(work, i, length);
      if (e.kind == TabElementKind::kIndication) {
        r.Indication(work, e, &restartFlag, &restart);
      } else {
        r.Element(work, e);
      }
      i = e.after;
    }
    if (restart) continue;
    // Notes after the last end of measure make a measure all the same: a
    // file saved without a final line end keeps its last measure.
    if (r.measureHasNotes) r.EndMeasure();
    break;
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
  notesRead = r.count;
  return r.answer;
}

int InterpretTablature(const char* text, const char* options, int32_t first, int32_t last,
                       TNoteList& pitches, TLengthList& lengths, TModeList& modes,
                       TMarkList& marks) {
  int answer = ReadTablature(text, options, first, last, pitches, lengths, modes, marks);
  if (answer == kCancel || answer == kNo) return answer;
  return PlayVoice(0, options, pitches, lengths, modes, marks);
}
