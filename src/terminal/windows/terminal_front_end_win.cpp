// The front end of pavsdi.exe, a console program: the window is another
// program (pavsdiw.exe), so the terminal (in a console) or the script
// protocol is always the one used.
#include "drivers/console_commands.h"
#include "drivers/console_ui.h"
#include "drivers/system_services.h"
#include "terminal/terminal_front_end.h"
#include "terminal/terminal_ui.h"

namespace drivers {

void StartTerminalFrontEnd(char**) {
  InstallSystemServices();
  if (TerminalWanted()) {
    InstallTerminal();
  } else {
    InstallConsole();
  }
  RegisterConsoleCommands();
}

}  // namespace drivers
