#include "tablature/measure_player.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/midi_port.h"
#include "platform/stop_request.h"
#include "tablature/practice_player.h"
#include "tablature/tablature_interpreter.h"

namespace {

const char kNoDeviceCaption[] = "votre environnement ne supporte pas ce midi mapper";

TReadingLists lists;

// A playing without questions takes the count-in and the metronome when
// they are on.
int Interpret(const char* options, int32_t first, int32_t last) {
  if (options[0] != 0 || (!Practice.countIn && !Practice.metronome))
    return InterpretTablature(WorkingState.TabText.c_str(), options, first, last, lists);
  ReadTablature(WorkingState.TabText.c_str(), options, first, last, lists);
  return PlayPracticed(lists);
}

// The stepping prompts show note numbers from the measure table, so the
// table must describe the current text before the first prompt: a reading
// that selects nothing builds it, and the working state is put back as it
// was so that this reading changes nothing the user hears.
void BuildMeasureTable() {
  static TWorkingState saved;
  saved = WorkingState;
  Interpret("", 1, 0);
  WorkingState = saved;
}

// Playing leaves the octave of its last note in `Octave`, and each unit is
// a reading of the whole text: every unit starts from the octave its
// command started with, so that a note sounds as written whatever was
// played before it.
class TStartOctave {
 public:
  TStartOctave() : octave_(WorkingState.Octave) {}
  void Restore() const { WorkingState.Octave = octave_; }

 private:
  int8_t octave_;
};

void Stepping() {
  TWorkingState& ws = WorkingState;
  BuildMeasureTable();
  TStartOctave start;
  for (;;) {
    int32_t m = ws.Measure;
    int32_t from = MeasureEnd(int64_t{m} - 1) + 1;
    int32_t to = MeasureEnd(m);
    char prompt[96];
    std::snprintf(prompt, sizeof prompt, kMeasurePrompt, m, from, to);
    int answer = AskYesNoCancel(prompt, "oui=suivant non=précédent annuler=fin");
    if (answer == kCancel) return;
    start.Restore();
    Interpret("", from, to);
    if (platform::StopRequested()) return;
    if (answer == kYes) {
      if (ws.Measure < INT32_MAX) ++ws.Measure;
    } else if (ws.Measure > 1) {
      --ws.Measure;
    }
    if (ws.Measure == 1 || MeasureEnd(ws.Measure) != 0) continue;
    if (AskYesNoCancel("fin de la tablature", "oui=début annuler=quitter") != kYes) return;
    ws.Measure = 1;
  }
}

// The units of a guided reading: measures with "m", notes otherwise.
int64_t Units(const char* options) {
  return std::strchr(options, 'm') ? int64_t{WorkingState.MeasureSpan} : int64_t{NotesRead()};
}

void GuidedReading() {
  char options[kShortText];
  CopyText(options, WorkingState.Indications);
  TStartOctave start;
  for (;;) {
    start.Restore();
    int answer = Interpret(options, 1, 1);
    if (answer == kCancel || platform::StopRequested()) return;
    if (answer == kNo) continue;
    int64_t i = 2;
    bool backToFirst = false;
    while (i <= Units(options)) {
      start.Restore();
      answer = Interpret(options, static_cast<int32_t>(i), static_cast<int32_t>(i));
      if (answer == kCancel || platform::StopRequested()) return;
      if (answer == kNo) {
        i -= 2;
        if (i == 0) {
          backToFirst = true;
          break;
        }
      }
      ++i;
    }
    if (!backToFirst) return;
  }
}

}  // namespace

bool PreparePort() {
  TWorkingState& ws = WorkingState;
  if (ReadDeviceNumber() == 0) {
    ShowInfo("pour choisir un midi mapper disponible dans votre environnement, utilisez la commande "
             "devprobe, puis placez la valeur d'un midi mapper dans un fichier midiinit.dev, dans la "
             "rubrique courante",
             "fichier midiinit.dev illisible");
    ws.MidiDevice = 0;
  }
  OpenMidiPort();
  if (ws.Polyphony == 0) {
    ShowInfo("", kNoDeviceCaption);
    return false;
  }
  return true;
}

int PlayCurrentMeasure() {
  TWorkingState& ws = WorkingState;
  if (!PreparePort()) return 0;
  if (ws.Indications[0] == 0) {
    Interpret("", ws.Measure, ws.LastMeasure);
  } else if (std::strcmp(ws.Indications, " ") == 0) {
    Stepping();
  } else {
    GuidedReading();
  }
  return 0;
}

void PlayAll(const char*) {
  TWorkingState& ws = WorkingState;
  ws.Measure = 1;
  // The companion player takes the device while the port is released.
  platform::MidiOutClose(ws.MidiOut);
  ws.MidiOut = nullptr;
  RunProgram(kMeasureProgram, kShowMaximized);
  ShowInfo("initialisation", "midimapper");
  // Closing the box ends the companion's playing: the device is then ours.
  EndProgram(kMeasureProgram);
  OpenMidiPort();
}

void PlayMeasure(const char*) {
  char kept[kShortText];
  CopyText(kept, WorkingState.Indications);
  CopyText(WorkingState.Indications, " ");
  PlayCurrentMeasure();
  CopyText(WorkingState.Indications, kept);
  PlayCue(kEditionCue);
}

void NextMeasure(const char*) {
  if (WorkingState.Measure < INT32_MAX) ++WorkingState.Measure;
  PlayCurrentMeasure();
  PlayCue(kEditionCue);
}

void PreviousMeasure(const char*) {
  if (WorkingState.Measure > 1) --WorkingState.Measure;
  PlayCurrentMeasure();
  PlayCue(kEditionCue);
}
