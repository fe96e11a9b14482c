#include "app/file_commands.h"

#include <cstring>
#include <string>

#include "app/document_window.h"
#include "app/recent_files.h"
#include "core/command_table.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "core/tablature_file.h"
#include "core/text_files.h"
#include "core/working_state.h"

const char kProductCaption[] = "Pavane environnement midi";

namespace {

// The file must exist, the read-only box is hidden, overwriting is confirmed.
constexpr unsigned kOpenSaveFlags = 0x1006;

// Makes a ".tab" file, already read as `text`, the current tablature. A
// name that does not fit TabFile leaves the current tablature as it was:
// the working copy is never emptied by a failed open.
void MakeCurrentTablature(const char* name, const std::string& text) {
  if (std::strlen(name) >= sizeof WorkingState.TabFile) {
    ShowInfo("le nom de ce fichier est trop long pour en faire la tablature courante", name);
    return;
  }
  // Without its working copy the file would not stay current.
  if (WriteTextFile(text.c_str(), kWorkingCopy) != 0) return;
  CopyText(WorkingState.TabFile, name);
  WorkingState.TabText = text;
  ShowInfo("tablature", name);
}

void NewCommand(const char*) { DocumentWindow().NewFile(); }

void OpenCommand(const char* argument) {
  OpenSaveData.fileName[0] = 0;
  PlayCue(kFileCue);
  TDocumentWindow& window = DocumentWindow();
  if (!window.CanClose()) return;
  if (argument && argument[0]) {
    CopyText(OpenSaveData.fileName, argument);
  } else if (!window.ChooseFileToOpen(OpenSaveData.fileName, kFileNameSize)) {
    return;
  }
  PlayCue(kEditionCue);
  OpenDocumentFile(nullptr);
}

}  // namespace

TOpenSaveData OpenSaveData = {kOpenSaveFlags, "Tablatures (*.tab)|*.tab|", "txt", ""};

void RegisterFileCommands() {
  RegisterCommand(kNewCommand, NewCommand);
  RegisterCommand(kOpenCommand, OpenCommand);
}

void OpenDocumentFile(const char* name) {
  if (name && name[0]) CopyText(OpenSaveData.fileName, name);
  char path[kFileNameSize];
  CopyText(path, OpenSaveData.fileName);
  // A file that is not text reaches neither the editor nor the working copy.
  std::string text;
  if (!ReadTablatureFile(path, &text)) return;
  bool read = DocumentWindow().ReplaceWith(path);
  if (read && std::strstr(path, ".tab")) MakeCurrentTablature(path, text);
  SaveMenuChoice(path);
}

void OpenDroppedFile(const char* name) {
  if (!DocumentWindow().CanClose()) return;
  std::string text;
  if (!ReadTablatureFile(name, &text)) return;
  CopyText(OpenSaveData.fileName, name);
  DocumentWindow().ReplaceWith(name);
  SaveMenuChoice(name);
}

int OpenRecentFile(int index) {
  char name[kFileNameSize];
  if (GetMenuText(index, name, sizeof name)) OpenDocumentFile(name);
  return 0;
}

void SavedAs(const char* newName) {
  // A tablature that can no longer be read keeps its text.
  ReadTablatureFile(WorkingState.TabFile, &WorkingState.TabText);
  SaveMenuChoice(newName);
}
