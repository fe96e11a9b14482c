#include "clipboard/clipboard_commands.h"

#include <string>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/tablature_file.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "formats/file_bytes.h"
#include "platform/interrupt.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "tablature/clipboard_text.h"
#include "tablature/measure_player.h"

namespace {

// The tablature put aside while the clipboard plays "for once", kept on
// disk beside the working copy as well: should the program be ended during
// that play it is put back all the same, by the shutdown or, after a kill,
// at the next start.
std::string keptTabText;
bool keptPending = false;

void PutKeptTablatureBack() {
  if (!keptPending) return;
  keptPending = false;
  WorkingState.TabText = keptTabText;
  if (WriteTextFile(WorkingState.TabText.c_str(), kWorkingCopy) == 0) RemoveTextFile(kKeptWorkingCopy);
}

bool MakeCurrentTablature(const char* text) {
  WorkingState.TabText = text;
  return WriteTextFile(text, kWorkingCopy) == 0;
}

// The whole text, from its first note, without read-outs.
void PlayWhole() {
  char options[kShortText];
  CopyText(options, WorkingState.Indications);
  WorkingState.Indications[0] = 0;
  WorkingState.Measure = 1;
  PlayCurrentMeasure();
  CopyText(WorkingState.Indications, options);
}

}  // namespace

void PlayClipboard() {
  char text[kLongText];
  ReadClipboardText(text);
  if (text[0] == 0) {
    platform::Get().dialogs->MessageBox("impossible de lire le presse papier", "", kInfoBox);
    PlayCue(kEditionCue);
    return;
  }
  int answer = platform::Get().dialogs->MessageBox(
      text, "oui=jouer presse papier non=jouer et sauvegarder escape = quitter", kQuestionBox);
  if (answer == kYes) {
    // Without the kept copy on disk the working copy could be lost.
    if (WriteTextFile(WorkingState.TabText.c_str(), kKeptWorkingCopy) != 0) {
      PlayCue(kEditionCue);
      return;
    }
    keptTabText = WorkingState.TabText;
    keptPending = true;
    platform::AtShutdown(PutKeptTablatureBack);
    MakeCurrentTablature(text);
    PlayWhole();
    PutKeptTablatureBack();
  } else if (answer == kNo) {
    MakeCurrentTablature(text);
    PlayWhole();
  }
  PlayCue(kEditionCue);
}

void RestoreKeptTablature() {
  // Only the program's own copy: a link planted there would bring another
  // file's text over the working copy.
  std::string path = platform::MapPath(kKeptWorkingCopy);
  if (!formats::OwnRegularFile(path)) return;
  std::string kept;
  if (LoadTablatureFile(kKeptWorkingCopy, &kept) != 0) return;
  if (WriteTextFile(kept.c_str(), kWorkingCopy) == 0) RemoveTextFile(kKeptWorkingCopy);
}
