// pavsdi-window: the program in its window, which pavsdi becomes when a
// display is used; on the terminal still when asked to (PAVSDI_UI=console)
// or when the display cannot be opened. The one place where the window and
// the application meet.
#include "app/program_options.h"
#include "app/program_start.h"
#include "platform/interrupt.h"
#include "shell/front_ends.h"

int main(int argc, char** argv) {
  if (int status; AnswerProgramOptions(argc, argv, &status)) return status;
  platform::InstallInterruptHandlers();
  StartFrontEnds(argc, argv);
  return RunProgram(argc, argv, nullptr);
}
