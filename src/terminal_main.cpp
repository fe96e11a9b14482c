// pavsdi: the program on the command line and the terminal. It never loads
// the window's toolkit: with a display (PAVSDI_UI=console not set) it
// becomes pavsdi-window, the program in its window.
#include "app/program_options.h"
#include "app/program_start.h"
#include "terminal/terminal_front_end.h"
#include "platform/interrupt.h"
#include "platform/process_start.h"

int main(int argc, char** argv) {
  platform::StartProcess(&argc, &argv);
  if (int status; AnswerProgramOptions(argc, argv, &status)) return status;
  platform::InstallInterruptHandlers();
  drivers::StartTerminalFrontEnd(argv);
  return RunProgram(argc, argv, nullptr);
}
