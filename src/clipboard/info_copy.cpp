#include "clipboard/clipboard_commands.h"

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "platform/platform.h"

namespace {

// The companion fills the clipboard itself: we only check that it can be
// taken, and never keep it open.
void FreeClipboardForCompanion() {
  platform::Clipboard& clipboard = *platform::Get().clipboard;
  if (!clipboard.Open()) {
    ShowInfo("Le presse papier n'est pas vide", "");
    return;
  }
  clipboard.Close();
}

}  // namespace

void CopyInfoToClipboard() {
  char info[kPageSize + 1];
  if (ReadTextPage(info, 1, kInfoFile) == 0) return;
  ShowInfo(info, "information courante");
  if (AskYesNoCancel("oui=copier non=annuler=quitter",
                     "voulez vous copier dans le presse papier l'information courante") == kYes) {
    FreeClipboardForCompanion();
    RunProgram(kClipboardProgram, kShowMaximized);
  }
  PlayCue(kEditionCue);
}
