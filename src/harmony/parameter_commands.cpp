#include "harmony/parameter_commands.h"

#include <cstdint>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "harmony/chord_commands.h"
#include "harmony/questions.h"
#include "harmony/scales.h"
#include "midi/defaults.h"
#include "midi/midi_port.h"
#include "midi/play_string.h"
#include "tablature/settings_file.h"

namespace {

TWorkingState& S = WorkingState;

// Adds in the field's own 8-bit arithmetic, as the byte wraps.
int8_t AddInt8(int8_t value, int delta) { return static_cast<int8_t>(value + delta); }

// Above 11 becomes 0, below 0 becomes 11.
int8_t WrapTwelve(int8_t value) {
  if (value > 11) return 0;
  if (value < 0) return 11;
  return value;
}

const TStepper kTransposeStepper = {
    "transposition courante %d", [] { return int32_t{S.Transpose}; },
    [](int delta) { S.Transpose = WrapTwelve(AddInt8(S.Transpose, delta)); }};

const TStepper kKeyStepper = {"ton courant %d", [] { return int32_t{S.Key}; },
                              [](int delta) { S.Key = WrapTwelve(AddInt8(S.Key, delta)); }};

const TStepper kDegreeStepper = {"degré courant %d", [] { return int32_t{S.Degree}; },
                                 [](int delta) {
                                   S.Degree = AddInt8(S.Degree, delta);
                                   if (S.Degree > 7) S.Degree = 1;
                                   if (S.Degree < 1) S.Degree = 7;
                                 }};

// Stepping up wraps, stepping down stops at 0.
const TStepper kRepetitionStepper = {
    "répétition courante %d", [] { return S.Repetitions; },
    [](int delta) {
      S.Repetitions = static_cast<int32_t>(static_cast<uint32_t>(S.Repetitions) + static_cast<uint32_t>(delta));
      if (S.Repetitions > 11 || S.Repetitions < 0) S.Repetitions = 0;
    }};

// The one note the bank command plays after every step.
TNoteList bankNote;
TLengthList bankLength;

void SendAndPlayBankNote() {
  SendProgramChange(S.Instrument);
  PlayNoteList(static_cast<int8_t>(S.Voice * 12 + S.Transpose), bankNote, bankLength);
}

// The instrument is stepped as an unsigned number: no upper bound, and
// stepping down stops at 0.
const TStepper kBankStepper = {"instrument courant %d", [] { return S.Instrument; },
                               [](int delta) {
                                 uint32_t program = static_cast<uint32_t>(S.Instrument);
                                 if (delta > 0) {
                                   ++program;
                                 } else if (program > 0) {
                                   --program;
                                 }
                                 S.Instrument = static_cast<int32_t>(program);
                                 SendAndPlayBankNote();
                               }};

}  // namespace

void RestoreDefaults() {
  ApplyDefaults();
  PlayCue(kEditionCue);
}

void ReloadSettings() {
  ApplyDefaults();
  char settingsText[kPageSize + 1];
  char scratch[kPageSize + 1];
  LoadSettings(settingsText, scratch);
  if (settingsText[0] == 0) {
    // The page reader has named the missing file; say what is in force now.
    ShowInfo("Aucun paramètre n'a pu être lu : les valeurs par défaut sont en vigueur.",
             "paramètres par défaut");
    return;
  }
  ShowInfo(settingsText, "paramètres courants");
  PlayCue(kEditionCue);
}

void ChooseTempo() {
  static const TChoice choices[] = {{"largo"}, {"andante"}, {"allégro"}, {"presto"}};
  static const uint32_t tempos[] = {32, 60, 120, 240};
  TChoiceAnswer a = OfferChoices(choices, 4, kChoiceLegend);
  if (a.Taken()) {
    S.Tempo = tempos[a.index];
  } else if (!a.AtLast(4)) {
    return;
  }
  PlayCue(kEditionCue);
}

void ChooseInstrument() {
  static const TChoice choices[] = {{"piano"}, {"guitare"}, {"orgue"}, {"pizzicatto"}};
  static const int32_t programs[] = {0, 1, 16, 32};
  TChoiceAnswer a = OfferChoices(choices, 4, kChoiceLegend);
  if (a.Taken()) {
    S.Instrument = programs[a.index];
  } else if (!a.AtLast(4)) {
    return;
  }
  SendProgramChange(S.Instrument);
  PlayCue(kEditionCue);
}

void ChooseVolume() {
  static const TChoice choices[] = {{"pianissimo"}, {"forté"}, {"fortissimo"}};
  static const uint32_t velocities[] = {95, 111, 126};
  TChoiceAnswer a = OfferChoices(choices, 3, kChoiceLegend);
  if (a.Taken()) {
    S.Velocity = velocities[a.index];
  } else if (!a.AtLast(3)) {
    return;
  }
  PlayCue(kEditionCue);
}

// The voice's octave register and its MIDI channel are set together.
void ChooseVoice() {
  static const TChoice choices[] = {{"voix 1 basse"},
                                    {"voix 2 ténor"},
                                    {"voix 3 alto"},
                                    {"voix 4 soprano", "oui=saisie non=annuler=quitter"}};
  TChoiceAnswer a = OfferChoices(choices, 4, kChoiceLegend);
  if (!a.Taken()) return;
  S.Voice = static_cast<int8_t>(a.index);
  S.Channel = a.index;
  PlayCue(kEditionCue);
}

void StepTranspose() {
  RunStepper(kTransposeStepper);
  PlayCue(kEditionCue);
}

void StepBank() {
  ParsePlayString("o3 c", bankNote, bankLength);
  RunStepper(kBankStepper);
  SendAndPlayBankNote();
  PlayCue(kEditionCue);
}

// Runs on into the scale and chord choices, which end with their own cues.
void StepKey() {
  S.KeySignature[0] = 0;
  RunStepper(kKeyStepper);
  ChooseScale();
  ChooseChord();
}

void StepDegree() {
  S.KeySignature[0] = 0;
  RunStepper(kDegreeStepper);
  PlayCue(kEditionCue);
}

void StepRepetitions() {
  RunStepper(kRepetitionStepper);
  PlayCue(kEditionCue);
}
