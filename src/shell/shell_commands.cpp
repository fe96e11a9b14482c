#include "shell/shell_commands.h"

#include "core/command_table.h"
#include "drivers/console_commands.h"
#include "shell/pav_sdi_about_dlg.h"
#include "shell/pav_sdi_app.h"
#include "shell/print_commands.h"
#include "shell/sdi_dec_frame.h"

namespace {

// Closing the main window asks about unsaved changes first; the console
// ends its command loop on this id itself.
void ExitCommand(const char*) {
  auto* app = dynamic_cast<TPavSdiApp*>(wxTheApp);
  if (app && app->Frame()) app->Frame()->Close();
}

void AboutCommand(const char*) {
  auto* app = dynamic_cast<TPavSdiApp*>(wxTheApp);
  if (app && app->Frame()) {
    ShowAboutBox(app->Frame());
  } else {
    drivers::ShowAboutInfo();
  }
}

}  // namespace

void RegisterShellCommands() {
  RegisterCommand(kExitCommand, ExitCommand);
  RegisterCommand(kAboutCommand, AboutCommand);
  RegisterPrintCommands();
}
