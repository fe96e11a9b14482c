#include "app/application.h"

#include "app/command_loop.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"

namespace {

TApplicationRunner installed = nullptr;

// The console has no window: the start-up, then the commands.
int RunConsoleApplication() {
  StartApplication("PavSdi");
  return RunCommandLoop();
}

}  // namespace

void StartApplication(const char* caption) {
  PlayCue(kReadingCue);
  if (WriteTextFile(WorkingState.TabText, kInfoFile) != 0) return;
  ShowInfo("la tablature courante est dans le presse papier", caption);
  RunProgram(kClipboardProgram, kShowMaximized);
}

void SetApplicationRunner(TApplicationRunner runner) { installed = runner; }

int RunApplication() { return installed ? installed() : RunConsoleApplication(); }
