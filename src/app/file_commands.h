// The file commands of the application: new, open, open a dropped file,
// reopen a recent file, and what a save under a new name changes.
#pragma once

constexpr int kFileNameSize = 260;

// The application's open/save dialog data.
struct TOpenSaveData {
  unsigned flags;
  const char* filter;
  const char* defaultExtension;
  char fileName[kFileNameSize];
};
extern TOpenSaveData OpenSaveData;

// Registers 24331 "&Nouveau" and 24332 "&Ouvrir..." (the console gives the
// path as argument instead of the dialog).
void RegisterFileCommands();

// Opens the file into the document window (name null or "": the name held
// in OpenSaveData); a ".tab" name becomes the current tablature.
void OpenDocumentFile(const char* name);

// The first dropped file; it never becomes the current tablature.
void OpenDroppedFile(const char* name);

// A recent file was picked (index 0 = the latest).
int OpenRecentFile(int index);

// After a successful save under `newName`.
void SavedAs(const char* newName);

extern const char kProductCaption[];
