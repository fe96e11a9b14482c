// The document window as the file commands see it: the window's editor, or
// in the console a document that only checks that files can be read.
#pragma once

class TDocumentWindow {
 public:
  virtual ~TDocumentWindow() = default;
  // True when the text may be discarded (the change question was answered
  // Yes and the save succeeded, or No, or nothing was changed).
  virtual bool CanClose() = 0;
  // Starts a new empty text, after the change question.
  virtual void NewFile() = 0;
  // Replaces the text with the file; on failure says "Unable to read file
  // %s from disk.", keeps the text and returns false.
  virtual bool ReplaceWith(const char* path) = 0;
  // The open dialog over the main window: the chosen name into `name`
  // (size characters); false when the user did not confirm.
  virtual bool ChooseFileToOpen(char* name, int size) = 0;
};

// The window in use; the console's document until one is installed.
TDocumentWindow& DocumentWindow();
void SetDocumentWindow(TDocumentWindow* window);
