// pavsdiw: the program in its own window on Windows (pavsdi.exe is the one
// for consoles). The one place where the native window and the
// application meet.
#include <windows.h>

#include "app/program_options.h"
#include "app/program_start.h"
#include "platform/interrupt.h"
#include "platform/process_start.h"
#include "win32/front_end.h"

// A window program starts here; its arguments come from the system's
// command line, in UTF-8.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  char** argv = nullptr;
  platform::StartProcess(&argc, &argv);
  if (int status; AnswerProgramOptions(argc, argv, &status)) return status;
  platform::InstallInterruptHandlers();
  InstallWin32FrontEnd(argc, argv);
  return RunProgram(argc, argv, nullptr);
}
