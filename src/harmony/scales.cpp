#include "harmony/scales.h"

#include <cstdio>
#include <cstring>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "harmony/append_text.h"
#include "harmony/questions.h"
#include "harmony/scale_table.h"
#include "midi/play_string.h"

namespace {

TWorkingState& S = WorkingState;

constexpr int kChromatic = kScaleKinds;  // offered after the seven kinds of the table

// The kinds in the order they are offered, with the rows each selects.
const TChoice kKindChoices[] = {
    {"gamme majeure"},       {"gamme mineure mélodique"}, {"gamme mineure harmonique"},
    {"gamme mineure naturelle"}, {"gamme par ton"},       {"gamme blues mineure"},
    {"gamme blues majeure"}, {"gamme chromatique"},
};
const int kKindRows[] = {kMajor,     kMelodicMinor, kHarmonicMinor, kNaturalMinor,
                         kWholeTone, kMinorBlues,   kMajorBlues,    kChromatic};
constexpr int kKindCount = sizeof kKindRows / sizeof kKindRows[0];

int8_t DrillBase(bool chromatic) {
  return static_cast<int8_t>(S.Voice * 12 + (chromatic ? 0 : S.Transpose));
}

// Start positions are byte arithmetic: an out-of-range transposition gives a
// start below 1, and so an empty window.
int8_t WindowStart(int twice, int offset) { return static_cast<int8_t>(2 * twice + offset); }

// The part of the stored scale text that the drill plays, by character
// positions: position 4 is a row's first note, each further note two on.
void CutWindow(char* window, int size, bool* chromatic) {
  const char* info = S.InfoText;
  *chromatic = std::strstr(info, "chroma") != nullptr;
  if (*chromatic) {
    MidText(window, info, WindowStart(S.Transpose, 4), 26);
  } else if (std::strstr(info, "ton")) {
    MidText(window, info, WindowStart(S.Degree, 2), 14);
  } else if (std::strstr(info, "blues")) {
    MidText(window, info, WindowStart(S.Degree, 2), 24);
  } else if (std::strstr(info, "gamme")) {
    MidText(window, info, WindowStart(S.Degree, 2), 16);
  } else {
    CopyText(window, size - 1, info);  // room left for the line feed
  }
}

void ReportCaption(char* caption, int size, bool chromatic) {
  if (chromatic) {
    std::snprintf(caption, static_cast<size_t>(size), "voix %d gamme chromatique transposée de %d demi tons",
                  S.Voice + 1, S.Transpose);
    return;
  }
  std::snprintf(caption, static_cast<size_t>(size), "voix %d ton %d degré %d transposition de %d demi tons ",
                S.Voice + 1, S.Key, S.Degree, S.Transpose);
  if (const char* kind = std::strstr(S.InfoText, "gamme")) AppendText(caption, size, kind);
}

void PlayRepeated(int8_t base, const TNoteList& notes) {
  for (int32_t i = 0; i <= S.Repetitions; ++i) PlayNoteList(base, notes, S.NoteLengths);
}

}  // namespace

int ChooseScale() {
  TChoiceAnswer a = OfferChoices(kKindChoices, kKindCount, kChoiceLegend, true);
  if (!a.Taken()) return kCancel;
  char scale[kLongText] = "";
  int kind = kKindRows[a.index];
  if (kind == kChromatic) {
    CopyText(scale, ChromaticScale);
  } else {
    ScalePlayString(kind, S.Key, scale);
  }
  CopyText(S.InfoText, scale);
  AppendText(S.InfoText, kLongText, " ");
  AppendText(S.InfoText, kLongText, kKindChoices[a.index].caption);
  AppendText(scale, kLongText, "\n");
  WriteTextFile(scale, kInfoFile);
  S.Octave = 3;
  TLengthList unusedLengths;
  ParsePlayString(scale, S.ScaleNotes, unusedLengths);
  PlayNoteList(DrillBase(false), S.ScaleNotes, S.NoteLengths);
  PlayCue(kEditionCue);
  return kYes;
}

void PlayScaleDrill() {
  if (S.InfoText[0] == 0) {
    ShowInfo("choisissez une gamme en utilisant l'item Gamme du menu Harm", "gamme vide");
    PlayCue(kEditionCue);
    return;
  }
  S.Octave = 3;
  S.KeySignature[0] = 0;
  char window[kLongText];
  bool chromatic;
  CutWindow(window, sizeof window, &chromatic);
  AppendText(window, sizeof window, "\n");

  TNoteList up;
  TLengthList unusedLengths;
  ParsePlayString(window, up, unusedLengths);
  char caption[kLongText + 128];
  ReportCaption(caption, sizeof caption, chromatic);
  ShowInfo(window, caption);

  TNoteList down;
  down.SetCount(up.Count);
  for (int k = 1; k <= up.Count; ++k) down[k] = up[up.Count + 1 - k];

  int8_t base = DrillBase(chromatic);
  for (;;) {
    int answer = AskYesNoCancel("oui=ascendante non=descendante annuler=quitter", "jouer");
    if (answer == kYes) {
      PlayRepeated(base, up);
    } else if (answer == kNo) {
      PlayRepeated(base, down);
    } else {
      break;
    }
  }
  WriteTextFile(window, kInfoFile);
  PlayCue(kEditionCue);
}
