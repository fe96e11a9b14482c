#include "app/file_commands.h"

#include <cstring>

#include "app/document_window.h"
#include "app/recent_files.h"
#include "core/command_table.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "formats/document_text.h"
#include "formats/file_bytes.h"
#include "platform/paths.h"

const char kProductCaption[] = "Pavane environnement midi";

namespace {

// The file must exist, the read-only box is hidden, overwriting is confirmed.
constexpr unsigned kOpenSaveFlags = 0x1006;

// Page 1 of the file; false when it could not be read or held only NUL
// bytes (an empty file is read, as an empty text).
bool ReadTablaturePage(char* text, const char* name) {
  if (ReadTextPage(text, 1, name) > 0) {
    if (text[0]) return true;
    ShowInfo(name, kNoText);
    return false;
  }
  text[0] = 0;
  return formats::FileReadable(platform::MapPath(name));
}

// Makes a ".tab" file the current tablature. A file that cannot be read, or
// whose name does not fit TabFile, leaves the current tablature as it was:
// the working copy is never emptied by a failed open.
void MakeCurrentTablature(const char* name) {
  if (std::strlen(name) >= sizeof WorkingState.TabFile) {
    ShowInfo("le nom de ce fichier est trop long pour en faire la tablature courante", name);
    return;
  }
  char text[kPageSize + 1];
  if (!ReadTablaturePage(text, name)) return;
  // Without its working copy the file would not stay current.
  if (WriteTextFile(text, kWorkingCopy) != 0) return;
  CopyText(WorkingState.TabFile, name);
  CopyText(WorkingState.TabText, text);
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
  bool read = DocumentWindow().ReplaceWith(path);
  if (read && std::strstr(path, ".tab")) MakeCurrentTablature(path);
  SaveMenuChoice(path);
}

void OpenDroppedFile(const char* name) {
  if (!DocumentWindow().CanClose()) return;
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
  char text[kPageSize + 1];
  if (ReadTablaturePage(text, WorkingState.TabFile)) CopyText(WorkingState.TabText, text);
  SaveMenuChoice(newName);
}
