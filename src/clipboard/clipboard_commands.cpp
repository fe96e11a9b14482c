#include "clipboard/clipboard_commands.h"

#include "core/command_table.h"

void RegisterClipboardCommands() {
  RegisterCommand(509, [](const char*) { CopyInfoToClipboard(); });
  RegisterCommand(611, [](const char*) { PlayClipboard(); });
  RegisterCommand(2010, [](const char*) { ShowUsage(); });
  RegisterCommand(2011, [](const char*) { ShowTutorial(); });
}
