#include "harmony/chord_commands.h"

#include <cstdio>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "harmony/append_text.h"
#include "harmony/chords.h"
#include "harmony/questions.h"
#include "midi/play_string.h"
#include "midi/voice_player.h"

namespace {

TWorkingState& S = WorkingState;

// Room for the spelling of a chord of up to 2047 notes is never needed:
// chords have at most seven, each a name and its octave marks.
constexpr int kSpelledSize = 256;

int8_t DrillBase() { return static_cast<int8_t>(S.Voice * 12 + S.Transpose); }

void PlayChord() { PlayNoteList(DrillBase(), S.ChordNotes, S.NoteLengths); }

// Builds on `Degree`, shows the spelled chord and plays it broken.
void BuildShowAndPlay(const TStepPattern& pattern, const char* what) {
  BuildChord(S.Degree, S.ScaleNotes, pattern, S.ChordNotes);
  char spelled[kSpelledSize];
  SpellNoteList(S.ChordNotes, spelled, sizeof spelled);
  char message[160];
  std::snprintf(message, sizeof message, "voix %d ton %d degré %d transposition de %d demi tons %s",
                S.Voice + 1, S.Key, S.Degree, S.Transpose, what);
  ShowInfo(message, spelled);
  PlayChord();
  PlayCue(kEditionCue);
}

struct TCadence {
  const char* caption;
  int count;
  int8_t degrees[4];
};
const TCadence kCadences[] = {
    {"cadence parfaite", 2, {5, 1}},
    {"cadence 2 5 1", 3, {2, 5, 1}},
    {"cadence 6 2 5 1", 4, {6, 2, 5, 1}},
};
constexpr int kCadenceCount = sizeof kCadences / sizeof kCadences[0];

}  // namespace

int ChooseChord() {
  static const TChoice sizes[] = {{"triade"},
                                  {"accord de septième"},
                                  {"accord de neuvième"},
                                  {"accord de onzième"},
                                  {"accord de treizième"}};
  TChoiceAnswer a = OfferChoices(sizes, 5, kChordChoiceLegend);
  if (!a.Taken()) return a.answer;
  BuildShowAndPlay(OddSteps(static_cast<int8_t>(3 + a.index)), sizes[a.index].caption);
  return kYes;
}

void InvertChord() {
  struct TPosition {
    TChoice choice;
    TStepPattern pattern;
  };
  static const TPosition positions[] = {
      {{"fondamental"}, {3, {1, 3, 5}}},
      {{"quarte et sixte"}, {3, {5, 8, 10}}},
      {{"tierce et sixte"}, {3, {3, 5, 8}}},
      {{"septième a la basse"}, {4, {7, 8, 10, 12}}},
      {{"neuvième a la basse"}, {5, {9, 10, 12, 14, 15}}},
  };
  static const TChoice choices[] = {positions[0].choice, positions[1].choice, positions[2].choice,
                                    positions[3].choice, positions[4].choice};
  S.KeySignature[0] = 0;
  TChoiceAnswer a = OfferChoices(choices, 5, kChordChoiceLegend);
  if (!a.Taken()) return;
  // The position's steps over the odd steps: those it does not give stay.
  TStepPattern pattern = OddSteps(3);
  const TStepPattern& position = positions[a.index].pattern;
  pattern.Count = position.Count;
  for (int i = 0; i < position.Count; ++i) pattern.Steps[i] = position.Steps[i];
  BuildShowAndPlay(pattern, choices[a.index].caption);
}

void PlayCadence() {
  static const TChoice choices[] = {{kCadences[0].caption}, {kCadences[1].caption}, {kCadences[2].caption}};
  TChoiceAnswer a = OfferChoices(choices, kCadenceCount, kChordChoiceLegend);
  if (a.answer == kCancel) return;
  if (a.Taken()) {
    const TCadence& cadence = kCadences[a.index];
    const TStepPattern pattern = OddSteps(4);
    for (int i = 0; i < cadence.count; ++i) {
      BuildChord(cadence.degrees[i], S.ScaleNotes, pattern, S.ChordNotes);
      // Spelled before it is played: its marks follow from where the
      // previous chord ended.
      char spelled[kSpelledSize];
      SpellNoteList(S.ChordNotes, spelled, sizeof spelled);
      char tag[8];
      std::snprintf(tag, sizeof tag, "ih%d:", cadence.degrees[i]);
      if (i == 0) S.InfoText[0] = 0;
      AppendText(S.InfoText, kLongText, tag);
      AppendText(S.InfoText, kLongText, spelled);
      if (i < cadence.count - 1) PlayChord();
    }
  }
  PlayChord();
  WriteTextFile(S.InfoText, kInfoFile);
  ShowInfo("", S.InfoText);
  PlayCue(kEditionCue);
}

void PlayChordDrill() {
  S.KeySignature[0] = 0;
  // Every other note of the stored scale text from the degree's note, two
  // characters each: for reading only, what sounds is the current chord.
  char text[16] = "";
  const int first = 2 * S.Degree + 2;
  for (int position = first; position <= first + 26; position += 4) {
    char piece[3];
    MidText(piece, S.InfoText, position, 2);
    AppendText(text, sizeof text, piece);
  }
  WriteTextFile(text, kInfoFile);
  char message[128];
  std::snprintf(message, sizeof message, "voix %d ton %d degré %d transposition de %d demi tons", S.Voice + 1,
                S.Key, S.Degree, S.Transpose);
  ShowInfo(message, text);

  TNoteList intervals;
  const int count = S.ChordNotes.Count > 0 ? S.ChordNotes.Count - 1 : 0;
  intervals.SetCount(count);
  for (int i = 1; i <= count; ++i) intervals[i] = static_cast<uint8_t>(S.ChordNotes[i + 1] - S.ChordNotes[i]);

  for (;;) {
    int answer = AskYesNoCancel("oui=arpéger non=plaquer annuler=quitter", "jouer");
    if (answer == kYes) {
      for (int32_t i = 0; i <= S.Repetitions; ++i) PlayChord();
    } else if (answer == kNo) {
      // At the chord's own pitches: no voice octave, no transposition.
      for (int32_t i = 0; i <= S.Repetitions; ++i)
        PlayBlockChord(static_cast<int8_t>(S.ChordNotes[1]), intervals, S.NoteLengths);
    } else {
      PlayCue(kEditionCue);
      return;
    }
  }
}
