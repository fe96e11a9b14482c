// The document window as the application sees it: the window's editor, or
// in the console a document that only checks that files can be read as text. The
// window's save, edit and search commands act on it through the command
// table.
#pragma once

class TDocumentWindow {
 public:
  virtual ~TDocumentWindow() = default;
  // True when the text may be discarded (the change question was answered
  // Yes and the save succeeded, or No, or nothing was changed).
  virtual bool CanClose() = 0;
  // Starts a new empty text, after the change question.
  virtual void NewFile() = 0;
  // Replaces the text with the file; on failure says why, keeps the text
  // and returns false.
  virtual bool ReplaceWith(const char* path) = 0;
  // The open dialog over the main window: the chosen name into `name`
  // (size characters); false when the user did not confirm.
  virtual bool ChooseFileToOpen(char* name, int size) = 0;

  // Saving; false when the user cancelled or the file could not be
  // written (said in a box). A document without an editor has nothing to
  // save and nothing to edit: these defaults are its.
  virtual bool Save() { return false; }
  virtual bool SaveAs() { return false; }
  virtual bool HasChanges() const { return false; }

  // The edit and search operations, with what enables each.
  virtual bool CanUndoEdit() const { return false; }
  virtual void UndoEdit() {}
  virtual bool HasSelection() const { return false; }
  virtual void CutSelection() {}
  virtual void CopySelection() {}
  virtual bool CanPasteText() const { return false; }
  virtual void PasteText() {}
  virtual void DeleteSelection() {}
  virtual bool HasText() const { return false; }
  virtual void ClearAll() {}
  virtual void ShowFind(bool) {}
  virtual bool HasSearch() const { return false; }
  virtual void FindNextMatch() {}
};

// The window in use; the console's document until one is installed.
TDocumentWindow& DocumentWindow();
void SetDocumentWindow(TDocumentWindow* window);

// Registers Save, Save As and the edit and search commands on the document
// window, each with its enable check. The window registers them when it
// builds its editor; the console, which has no editor, does not.
void RegisterDocumentCommands();
