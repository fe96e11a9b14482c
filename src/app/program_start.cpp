#include "app/program_start.h"

#include <string>
#include <vector>

#include "app/file_commands.h"
#include "app/first_run.h"
#include "app/program_entry.h"
#include "clipboard/clipboard_commands.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "formats/encoding.h"
#include "formats/file_bytes.h"
#include "harmony/harmony_commands.h"
#include "harmony/motifs.h"
#include "platform/interrupt.h"
#include "platform/paths.h"
#include "tablature/tablature_commands.h"

namespace {

// What a killed run may have left half written.
void RemoveStaleTemporaries() {
  for (const char* name : {kWorkingCopy, kKeptWorkingCopy, kInfoFile, kSettingsFile, kWavOutputFile, kMidiOutputFile})
    formats::RemoveStaleTemporaries(platform::MapPath(name));
}

}  // namespace

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
  for (int i = 1; i < argc; ++i) {
    if (formats::FitsCp1252(argv[i])) continue;
    // Its characters would turn into "?" and name another file.
    ShowInfo(args[static_cast<size_t>(i)].c_str(), kNameNotWritable);
    return 0;
  }
  std::vector<char*> pointers;
  for (std::string& a : args) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  LayDataDirectoryOnFirstRun();
  if (beforeEntry) beforeEntry();
  RemoveStaleTemporaries();
  RestoreKeptTablature();
  int status = ProgramEntry(argc, pointers.data());
  platform::RunShutdown();
  return status;
}
