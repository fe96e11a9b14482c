#include "shell/shell_commands.h"

#include "core/command_table.h"
#include "shell/pav_sdi_about_dlg.h"
#include "shell/pav_sdi_app.h"
#include "shell/print_commands.h"
#include "shell/sdi_dec_frame.h"
#include "shell/shell_test_steps.h"
#include "shell/test_script.h"

namespace {

void AboutCommand(const char*) {
  auto* app = dynamic_cast<TPavSdiApp*>(wxTheApp);
  if (app && app->Frame()) ShowAboutBox(app->Frame());
}

}  // namespace

void RegisterShellCommands() {
  RegisterCommand(kAboutCommand, AboutCommand);
  RegisterPrintCommands();
  testscript::AddSteps(testscript::ShellSteps);
}
