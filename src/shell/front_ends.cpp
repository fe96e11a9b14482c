#include "shell/front_ends.h"

#include "drivers/console_ui.h"
#include "drivers/system_services.h"
#include "terminal/terminal_ui.h"
#include "shell/shell_commands.h"
#include "shell/window_front_end.h"

void StartFrontEnds(int argc, char** argv) {
  drivers::InstallSystemServices();
  if (drivers::TerminalWanted()) {
    drivers::InstallTerminal();
  } else {
    drivers::InstallConsole();
  }
  RegisterShellCommands();
  // The window's toolkit starts before the entry, which may show boxes.
  if (!drivers::ConsoleWanted()) InstallWindowFrontEnd(argc, argv);
}
