// pavsdi: the program. It talks in a window, or on the terminal when asked
// to (PAVSDI_UI=console) or when no display is there. The one place where
// the window and the application meet.
#include "app/program_start.h"
#include "platform/interrupt.h"
#include "shell/front_ends.h"

int main(int argc, char** argv) {
  platform::InstallInterruptHandlers();
  StartFrontEnds(argc, argv);
  return RunProgram(argc, argv, nullptr);
}
