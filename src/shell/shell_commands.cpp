#include "shell/shell_commands.h"

#include <string>

#include "app/about_texts.h"
#include "app/version_block.h"
#include "core/command_table.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "shell/pav_sdi_about_dlg.h"
#include "shell/pav_sdi_app.h"
#include "shell/print_commands.h"
#include "shell/sdi_dec_frame.h"

namespace {

// Without the window, the about box's texts come as one information box.
void ShowAboutInfo() {
  TAboutTexts texts;
  CopyText(texts.version, "Version");
  texts.copyright[0] = texts.special[0] = 0;
  TProjectRCVersion version(ProgramModule());
  FillAboutTexts(version, texts);
  std::string text = std::string("Pavane SDI Example\n") + texts.version;
  if (texts.copyright[0]) text += std::string("\n") + texts.copyright;
  if (texts.special[0]) text += std::string("\n") + texts.special;
  ShowInfo(text.c_str(), "About PavSdi");
}

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
    ShowAboutInfo();
  }
}

}  // namespace

void RegisterShellCommands() {
  RegisterCommand(kExitCommand, ExitCommand);
  RegisterCommand(kAboutCommand, AboutCommand);
  RegisterPrintCommands();
}
