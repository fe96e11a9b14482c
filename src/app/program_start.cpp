#include "app/program_start.h"

#include <string>
#include <vector>

#include "app/file_commands.h"
#include "app/first_run.h"
#include "app/program_entry.h"
#include "clipboard/clipboard_commands.h"
#include "formats/encoding.h"
#include "harmony/harmony_commands.h"
#include "harmony/motifs.h"
#include "platform/interrupt.h"
#include "tablature/tablature_commands.h"

void RegisterApplicationCommands() {
  RegisterFileCommands();
  RegisterTablatureCommands();
  RegisterHarmonyCommands();
  RegisterMotifCommands();
  RegisterClipboardCommands();
}

int RunProgram(int argc, char** argv, void (*beforeEntry)()) {
  RegisterApplicationCommands();
  // Arguments come in UTF-8; inside, every text is Windows-1252.
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(formats::Utf8ToCp1252(argv[i]));
  std::vector<char*> pointers;
  for (std::string& a : args) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  LayDataDirectoryOnFirstRun();
  if (beforeEntry) beforeEntry();
  int status = ProgramEntry(argc, pointers.data());
  platform::RunShutdown();
  return status;
}
