#include "tablature/tablature_interpreter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/play_string.h"
#include "tablature/tablature_elements.h"

namespace {

// Entry m: the last note of measure m, as MeasureEnd tells it; rebuilt by
// every reading, as long as the text has measures.
std::vector<int32_t> MeasureEnds;
int32_t notesRead = 0;

}  // namespace

int32_t MeasureEnd(int64_t m) {
  return m >= 0 && static_cast<uint64_t>(m) < MeasureEnds.size() ? MeasureEnds[static_cast<size_t>(m)] : 0;
}

int32_t NotesRead() { return notesRead; }

namespace {

struct Reading {
  const char* options;
  int32_t first;
  int32_t last;
  TNoteList& pitches;
  TLengthList& lengths;
  TModeList& modes;
  TMarkList& marks;
  TTempoList& tempos;

  bool measureMode = false;
  int32_t count = 0;     // notes read
  int64_t measures = 0;  // measures closed
  bool measureHasNotes = false;
  uint8_t mode = kNormal;
  uint32_t tempo = 0;  // the latest tempo written, 0 before the first
  char pendingGroup = 0;
  int32_t firstNote = 0;
  int32_t lastNote = 0;
  int octave = 0;
  int answer = 0;
  std::string measureText;

  bool InRange() const { return measureMode && int64_t{first} - 1 <= measures && measures <= last; }

  void Reset() {
    count = 0;
    measures = 0;
    measureHasNotes = false;
    mode = kNormal;
    tempo = 0;
    pendingGroup = 0;
    firstNote = first;
    lastNote = last;
    MeasureEnds.assign(1, 0);
    measureText.clear();
  }

  void AddNote(uint8_t pitch) {
    ++count;
    pitches[count] = pitch;
    lengths[count] = WorkingState.NoteLength * 1000;
    modes[count] = mode;
    marks[count] = pendingGroup;
    tempos[count] = tempo;
    pendingGroup = 0;
    measureHasNotes = true;
    size_t measure = static_cast<size_t>(measures) + 1;
    if (MeasureEnds.size() <= measure) MeasureEnds.resize(measure + 1, 0);
    MeasureEnds[measure] = count;
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
      answer = AskYesNoCancel(prompt, measureText.c_str());
    }
    measureText.clear();
  }

  // Runs the indication `e` and reads it out when the options ask for
  // it; sets `restart` when the reading must start again.
  void Indication(const char* work, const TabElement& e, bool* restartFlag, bool* restart) {
    char letter[2] = {e.letter, 0};
    // Room for the argument whole, and for the word a dynamics sign becomes.
    std::vector<char> argument(e.argumentEnd - e.argumentAt + kShortText, 0);
    std::copy(work + e.argumentAt, work + e.argumentEnd, argument.begin());
    char word[kShortText] = {};
    RunIndication(letter, argument.data(), word);
    if (letter[0] && std::strchr(options, letter[0]) && int64_t{first} - 1 <= measures && measures < last) {
      PlayCue(kAnnotationCue);
      ShowInfo(argument.data(), word);
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
        if (e.value >= 31 && e.value <= 239) {
          WorkingState.Tempo = static_cast<uint32_t>(e.value);
          tempo = WorkingState.Tempo;
        }
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
    if (InRange()) measureText += piece;
  }
};

// Lowercases A to Z only.
void Lowercase(std::string& text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

}  // namespace

int ReadTablature(const char* text, const char* options, int32_t first, int32_t last, TReadingLists& lists) {
  std::string work = text;
  Lowercase(work);

  Reading r{options, first, last, lists.pitches, lists.lengths, lists.modes, lists.marks, lists.tempos};
  r.measureMode = std::strchr(options, 'm') != nullptr;
  r.octave = WorkingState.Octave;
  bool restartFlag = false;

  for (;;) {
    if (WorkingState.KeySignature[0] != 0 || restartFlag) work = ApplyKeySignature(work);
    r.Reset();
    size_t length = std::strlen(work.c_str());
    bool restart = false;
    for (size_t i = 0; i < length && !restart;) {
      TabElement e = ReadTabElement(work.c_str(), i, length);
      if (e.kind == TabElementKind::kIndication) {
        r.Indication(work.c_str(), e, &restartFlag, &restart);
      } else {
        r.Element(work.c_str(), e);
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
  for (int32_t k = 1; k <= selected; ++k) {
    lists.pitches[k] = lists.pitches[from + k - 1];
    lists.lengths[k] = lists.lengths[from + k - 1];
    lists.modes[k] = lists.modes[from + k - 1];
    lists.marks[k] = lists.marks[from + k - 1];
    lists.tempos[k] = lists.tempos[from + k - 1];
  }
  // The true count reaches the player; slot 0 keeps its low 8 bits.
  lists.pitches.SetCount(static_cast<int>(selected));
  lists.lengths[0] = static_cast<uint32_t>(selected);
  lists.modes[0] = static_cast<uint8_t>(selected);
  lists.marks[0] = static_cast<char>(selected);
  WorkingState.MeasureSpan = static_cast<uint32_t>(r.measures);
  notesRead = r.count;
  return r.answer;
}

int InterpretTablature(const char* text, const char* options, int32_t first, int32_t last, TReadingLists& lists) {
  int answer = ReadTablature(text, options, first, last, lists);
  if (answer == kCancel || answer == kNo) return answer;
  return PlayVoice(0, options, lists.pitches, lists.lengths, lists.modes, lists.marks, lists.tempos);
}
