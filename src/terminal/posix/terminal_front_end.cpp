#include "terminal/terminal_front_end.h"

#include <unistd.h>

#include <string>

#include "drivers/console_commands.h"
#include "drivers/console_ui.h"
#include "drivers/system_services.h"
#include "terminal/terminal_ui.h"
#include "platform/paths.h"

namespace drivers {
namespace {

constexpr char kWindowProgram[] = "pavsdi-window";

// The window program lies beside pavsdi, built or installed. Returns only
// when it cannot be started.
void BecomeWindowProgram(char** argv) {
  std::string directory = platform::ProgramDirectory();
  if (directory.empty()) return;
  std::string path = directory + "/" + kWindowProgram;
  execv(path.c_str(), argv);
}

}  // namespace

void StartTerminalFrontEnd(char** argv) {
  if (!ConsoleWanted()) BecomeWindowProgram(argv);
  InstallSystemServices();
  if (TerminalWanted()) {
    InstallTerminal();
  } else {
    InstallConsole();
  }
  RegisterConsoleCommands();
}

}  // namespace drivers
