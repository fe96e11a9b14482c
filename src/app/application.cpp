#include "app/application.h"

#include "app/command_loop.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "platform/platform.h"

namespace {

TApplicationRunner installed = nullptr;

// The console has no window: the start-up, then the commands.
int RunConsoleApplication() {
  StartApplication("PavSdi");
  return RunCommandLoop();
}

const char kOnClipboard[] = "la tablature courante est dans le presse papier";

// The reading cue, and the tablature as the current information; false
// when it could not be written (the user was told why).
bool TablatureAsInformation() {
  PlayCue(kReadingCue);
  return WriteTextFile(WorkingState.TabText.c_str(), kInfoFile) == 0;
}

bool ClipboardReachable() {
  platform::Clipboard& clipboard = *platform::Get().clipboard;
  if (!clipboard.Open()) return false;
  clipboard.Close();
  return true;
}

}  // namespace

void StartApplication(const char* caption) {
  if (!TablatureAsInformation()) return;
  ShowInfo(kOnClipboard, caption);
  RunProgram(kClipboardProgram, kShowMaximized);
}

void StartTerminalApplication() {
  if (!TablatureAsInformation()) return;
  if (!ClipboardReachable()) {
    ShowInfo("presse papier inaccessible : la tablature courante n'y a pas été mise", "");
    return;
  }
  ShowInfo(kOnClipboard, "");
  RunProgram(kClipboardProgram, kShowMaximized);
}

void SetApplicationRunner(TApplicationRunner runner) { installed = runner; }

int RunApplication() { return installed ? installed() : RunConsoleApplication(); }
