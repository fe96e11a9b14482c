#include "core/application.h"

#include "core/command_loop.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"

namespace {

TApplicationRunner installed = nullptr;

// What the window's start-up does for the user, then the commands.
int RunConsoleApplication() {
  PlayCue(kReadingCue);
  WriteTextFile(WorkingState.TabText, "\\orfeon\\prvinfo.tab");
  ShowInfo("la tablature courante est dans le presse papier", "PavSdi");
  RunProgram("\\orfeon\\clipsend.exe", 3);
  return RunCommandLoop();
}

}  // namespace

void SetApplicationRunner(TApplicationRunner runner) { installed = runner; }

int RunApplication() { return installed ? installed() : RunConsoleApplication(); }
