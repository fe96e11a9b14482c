#include "drivers/console_commands.h"

#include <string>

#include "app/about_texts.h"
#include "app/version_block.h"
#include "core/command_table.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "platform/messages.h"

namespace drivers {
namespace {

void PrintOnlyInTheWindow(const char*) {
  platform::PrintForPerson("L'impression et l'aperçu ne se font que dans la fenêtre.");
}

}  // namespace

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

void RegisterConsoleCommands() {
  RegisterCommand(kAboutCommand, [](const char*) { ShowAboutInfo(); });
  RegisterCommand(kPrintCommand, PrintOnlyInTheWindow, [] { return false; });
  RegisterCommand(kPrintSetupCommand, PrintOnlyInTheWindow, [] { return false; });
  RegisterCommand(kPrintPreviewCommand, PrintOnlyInTheWindow, [] { return false; });
}

}  // namespace drivers
