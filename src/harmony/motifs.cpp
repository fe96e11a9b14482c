#include "harmony/motifs.h"

#include <cstring>

#include "core/command_table.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/play_string.h"
#include "platform/platform.h"
#include "tablature/clipboard_text.h"

namespace {

struct TRhythm {
  const char* caption;
  const char* motif;
};

// All on c: only their rhythm matters.
const TRhythm kRhythms[] = {
    {"motif noire", "4cccc"},
    {"motif blanche noire noire", "2c4cc"},
    {"rythme=motif noire pointée croche", "4c.8c4c.8c"},
    {"motif noire croche", "4c8c4c8c"},
    {"motif croche noire croche triolet de noire", "8c4c8c6ccc"},
};
constexpr int kRhythmCount = sizeof kRhythms / sizeof kRhythms[0];

// Rhythm motifs are repeated so that long scales and chords keep following
// them; a clipboard motif only while it is short.
constexpr int kClipboardCopies = 21;
constexpr int kShortMotif = 100;
constexpr int kBuiltInCopies = 101;

int8_t DrillBase() { return static_cast<int8_t>(WorkingState.Voice * 12 + WorkingState.Transpose); }

// Asks about the clipboard text shown in the caption (cut to fit).
int AskAboutClipboard(const char* question, const char* clipboardText) {
  char caption[kLongText];
  CopyText(caption, "presse papier courant : ");
  size_t used = std::strlen(caption);
  CopyText(caption + used, kLongText - static_cast<int>(used), clipboardText);
  return platform::Get().dialogs->MessageBox(question, caption, kQuestionBox);
}

// `copies` copies of the motif, or as many whole copies as fit in 2047
// characters.
void RepeatMotif(char* text, const char* motif, int copies) {
  text[0] = 0;
  size_t length = std::strlen(motif);
  if (length == 0) return;
  size_t fit = (kLongText - 1) / length;
  if (static_cast<size_t>(copies) > fit) copies = static_cast<int>(fit);
  for (int i = 0; i < copies; ++i) std::memcpy(text + i * length, motif, length + 1);
}

// Parses and plays the motif once into `NoteLengths`, then leaves there the
// lengths of its repetitions.
void TakeRhythm(const char* motif, int copies) {
  TNoteList notes;
  ParsePlayString(motif, notes, WorkingState.NoteLengths);
  PlayNoteList(DrillBase(), notes, WorkingState.NoteLengths);
  char repeated[kLongText];
  RepeatMotif(repeated, motif, copies);
  ParsePlayString(repeated, notes, WorkingState.NoteLengths);
}

}  // namespace

void EditNoteMotif() {
  char text[kLongText];
  ReadClipboardText(text);
  if (AskAboutClipboard("oui=saisir le motif de note non ou escape = annuler", text) == kYes) {
    CopyText(WorkingState.InfoText, text);
    TNoteList notes;
    TLengthList lengths;
    ParsePlayString(WorkingState.InfoText, notes, lengths);
    PlayNoteList(DrillBase(), notes, lengths);
  }
  PlayCue(kEditionCue);
}

void EditRhythmMotif() {
  char text[kLongText];
  ReadClipboardText(text);
  if (AskAboutClipboard("oui=saisir le motif rythmique non ou escape = annuler", text) == kYes) {
    TakeRhythm(text, std::strlen(text) < kShortMotif ? kClipboardCopies : 1);
  }
  PlayCue(kEditionCue);
}

void ChooseRhythm() {
  for (int i = 0;; i = (i + 1) % kRhythmCount) {
    int answer = AskYesNoCancel("oui=saisie non=suivant annuler=quitter", kRhythms[i].caption);
    if (answer == kYes) {
      TakeRhythm(kRhythms[i].motif, kBuiltInCopies);
      PlayCue(kEditionCue);
      return;
    }
    if (answer != kNo) return;
  }
}

void RegisterMotifCommands() {
  RegisterCommand(kEditNoteCommand, [](const char*) { EditNoteMotif(); });
  RegisterCommand(kEditRhythmCommand, [](const char*) { EditRhythmMotif(); });
  RegisterCommand(kRhythmCommand, [](const char*) { ChooseRhythm(); });
}
