#include "clipboard/clipboard_commands.h"

#include "core/command_table.h"

void RegisterClipboardCommands() {
  RegisterCommand(kClipboardInfoCommand, [](const char*) { CopyInfoToClipboard(); });
  RegisterCommand(kPlayClipboardCommand, [](const char*) { PlayClipboard(); });
  RegisterCommand(kUsageCommand, [](const char*) { ShowUsage(); });
  RegisterCommand(kTutorialCommand, [](const char*) { ShowTutorial(); });
}
