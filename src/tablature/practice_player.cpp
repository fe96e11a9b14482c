#include "tablature/practice_player.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/pacing.h"
#include "platform/midi_out.h"
#include "platform/stop_request.h"
#include "tablature/measure_player.h"
#include "tablature/settings_file.h"
#include "tablature/tablature_interpreter.h"

TPracticeSettings Practice = {false, false, 0, 0, 100, 0, 0};

namespace {

constexpr char kLoopCaption[] = "boucle";
constexpr char kStepperLegend[] = "oui=augmenter non=diminuer escape=garder";
// Measures are not counted beforehand: any number a measure can have.
constexpr int32_t kLastMeasureNumber = INT32_MAX - 1;

// The time signature the reading left in force, 4/4 when there is none
// that a metronome can beat.
TPacing PacingNow(int32_t percent) {
  int32_t numerator = WorkingState.TimeNumerator;
  int32_t denominator = WorkingState.TimeDenominator;
  bool known = numerator >= 1 && numerator <= 32 && denominator >= 1 && denominator <= 32 &&
               (denominator & (denominator - 1)) == 0;
  if (!known) {
    numerator = 4;
    denominator = 4;
  }
  return {percent, Practice.metronome, numerator, static_cast<uint32_t>(denominator) * 1000};
}

TReadingLists lists;

int Play(const TReadingLists& played) {
  return PlayVoice(0, "", played.pitches, played.lengths, played.modes, played.marks, played.tempos);
}

// The count-in beats the tempo the passage starts at.
bool CountInAt(const TReadingLists& played) {
  uint32_t kept = WorkingState.Tempo;
  if (played.tempos[1] != 0) WorkingState.Tempo = played.tempos[1];
  bool go = CountIn();
  WorkingState.Tempo = kept;
  return go;
}

// Asks for a number with Yes (up by `step`) and No (down) until another
// answer keeps it.
int32_t StepNumber(const char* captionFormat, int32_t value, int32_t step, int32_t lowest, int32_t highest) {
  for (;;) {
    char caption[kShortText];
    std::snprintf(caption, sizeof caption, captionFormat, static_cast<int>(value));
    int answer = AskYesNoCancel(kStepperLegend, caption);
    if (answer == kYes) {
      value = value + step > highest ? highest : value + step;
    } else if (answer == kNo) {
      value = value - step < lowest ? lowest : value - step;
    } else {
      return value;
    }
  }
}

// Asks whether to switch a setting on; Cancel keeps it. The choice is
// written to the settings file.
void Toggle(bool* setting, const char* name, const char* key) {
  char caption[kShortText];
  std::snprintf(caption, sizeof caption, "%s %s", name, *setting ? "actif" : "inactif");
  int answer = AskYesNoCancel("oui=activer non=désactiver annuler=garder", caption);
  if (answer == kYes || answer == kNo) {
    *setting = answer == kYes;
    SaveSettingsNumber(key, *setting ? 1 : 0);
  }
  PlayCue(kEditionCue);
}

// The file the device records into, empty for a device that plays.
std::string RecordingFile() {
  platform::MidiDeviceList& devices = platform::MidiDevices();
  int32_t d = WorkingState.MidiDevice;
  return d >= 0 && static_cast<size_t>(d) < devices.size() ? devices[static_cast<size_t>(d)]->OutputFile()
                                                            : std::string();
}

}  // namespace

int PlayPracticed(const TReadingLists& played) {
  if ((!Practice.countIn && !Practice.metronome) || played.pitches.Count == 0) return Play(played);
  BeginPacing(PacingNow(100));
  int answer = kCancel;
  if (!Practice.countIn || CountInAt(played)) answer = Play(played);
  EndPacing();
  return answer;
}

bool PlayLoop(int32_t first, int32_t last) {
  if (!PreparePort()) return true;
  // A recorder takes no time to play: an endless loop would grow its file
  // until the disk is full.
  std::string file = RecordingFile();
  if (Practice.passes == 0 && !file.empty()) {
    char text[kLongText];
    std::snprintf(text, sizeof text,
                  "une boucle sans fin ne peut pas s'enregistrer dans %s : choisissez un nombre de passages "
                  "avec Réglages de la boucle",
                  file.c_str());
    ShowInfo(text, kLoopCaption);
    return false;
  }
  TWorkingState& ws = WorkingState;
  ReadTablature(ws.TabText.c_str(), "", 1, 0, lists);
  // Measures without notes have no end in the table: the passage runs from
  // the note after the last one before `first`.
  int32_t before = 0;
  int32_t to = 0;
  for (int64_t m = 1; m <= last && m <= int64_t{ws.MeasureSpan}; ++m) {
    if (MeasureEnd(m) == 0) continue;
    if (m < first) before = MeasureEnd(m);
    if (m >= first) to = MeasureEnd(m);
  }
  if (to <= before) {
    char text[kShortText];
    std::snprintf(text, sizeof text, "aucune note dans les mesures %d à %d", static_cast<int>(first),
                  static_cast<int>(last));
    ShowInfo(text, kLoopCaption);
    return false;
  }
  ReadTablature(ws.TabText.c_str(), "", before + 1, to, lists);
  int32_t percent = Practice.percent;
  BeginPacing(PacingNow(percent));
  bool go = !Practice.countIn || CountInAt(lists);
  for (int32_t pass = 1; go && (Practice.passes == 0 || pass <= Practice.passes); ++pass) {
    RestartBeats(percent);
    Play(lists);
    if (platform::StopRequested()) break;
    if (Practice.step > 0 && percent < 100) percent = percent + Practice.step > 100 ? 100 : percent + Practice.step;
  }
  EndPacing();
  return true;
}

void LoopCommand(const char*) {
  int32_t first = Practice.firstMeasure > 0 ? Practice.firstMeasure : WorkingState.Measure;
  int32_t last = Practice.firstMeasure > 0 ? Practice.lastMeasure : first;
  PlayLoop(first, last < first ? first : last);
  PlayCue(kEditionCue);
}

void LoopSettingsCommand(const char*) {
  TPracticeSettings& p = Practice;
  p.firstMeasure = StepNumber("boucle : première mesure %d (0 = la mesure courante)", p.firstMeasure, 1, 0,
                              kLastMeasureNumber);
  if (p.firstMeasure > 0) {
    if (p.lastMeasure < p.firstMeasure) p.lastMeasure = p.firstMeasure;
    p.lastMeasure = StepNumber("boucle : dernière mesure %d", p.lastMeasure, 1, p.firstMeasure,
                               kLastMeasureNumber);
  }
  p.percent = StepNumber("boucle : vitesse %d %% du tempo", p.percent, 5, kSlowestPercent, kFastestPercent);
  p.step = StepNumber("boucle : accélération de %d %% par passage jusqu'à 100 %%", p.step, 5, 0, 50);
  p.passes = StepNumber("boucle : %d passages (0 = jusqu'à Échap)", p.passes, 1, 0, 99);
  PlayCue(kEditionCue);
}

void CountInCommand(const char*) { Toggle(&Practice.countIn, "décompte d'une mesure", "decompte="); }

void MetronomeCommand(const char*) { Toggle(&Practice.metronome, "métronome", "metronome="); }
