#include "core/program_main.h"

#include <string>
#include <vector>

#include "clipboard/clipboard_commands.h"
#include "core/file_commands.h"
#include "core/program_entry.h"
#include "drivers/console_ui.h"
#include "drivers/system_services.h"
#include "formats/encoding.h"
#include "harmony/harmony_commands.h"
#include "harmony/motifs.h"
#include "platform/interrupt.h"
#include "shell/shell_commands.h"
#include "shell/window_front_end.h"
#include "tablature/tablature_commands.h"

namespace {

// Every part registers the menu commands it handles; window and console
// dispatch through the same table.
void RegisterCommands() {
  RegisterFileCommands();
  RegisterTablatureCommands();
  RegisterHarmonyCommands();
  RegisterMotifCommands();
  RegisterClipboardCommands();
  RegisterShellCommands();
}

}  // namespace

int ProgramMain(int argc, char** argv, void (*beforeEntry)()) {
  platform::InstallInterruptHandlers();
  drivers::InstallSystemServices();
  drivers::InstallConsole();
  RegisterCommands();
  // The window's toolkit starts before the entry, which may show boxes.
  if (!drivers::ConsoleWanted()) InstallWindowFrontEnd(argc, argv);
  // Arguments come in UTF-8; inside, every text is Windows-1252.
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(formats::Utf8ToCp1252(argv[i]));
  std::vector<char*> pointers;
  for (std::string& a : args) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  if (beforeEntry) beforeEntry();
  int status = ProgramEntry(argc, pointers.data());
  platform::RunShutdown();
  return status;
}
