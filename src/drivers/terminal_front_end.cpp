#include "drivers/terminal_front_end.h"

#include <unistd.h>

#include <string>

#include "drivers/console_commands.h"
#include "drivers/console_ui.h"
#include "drivers/system_services.h"
#include "drivers/terminal_ui.h"

namespace drivers {
namespace {

constexpr char kWindowProgram[] = "pavsdi-window";

// Returns only when the window program cannot be started.
void BecomeWindowProgram(char** argv) {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return;
  std::string path(self, static_cast<size_t>(n));
  path = path.substr(0, path.rfind('/') + 1) + kWindowProgram;
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
