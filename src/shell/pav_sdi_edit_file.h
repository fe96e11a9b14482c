// The document window: a plain text editor of one file, the client of the
// main window.
#pragma once
#include <string>

#include <wx/fdrepdlg.h>
#include <wx/textctrl.h>

#include "app/document_window.h"
#include "app/file_commands.h"
#include "formats/document_text.h"

class TPavSdiEditFile : public wxTextCtrl, public TDocumentWindow {
 public:
  // Builds the editor and makes it the document window.
  explicit TPavSdiEditFile(wxWindow* parent);
  ~TPavSdiEditFile() override;

  // Takes the application's open/save dialog data.
  void SetupWindow();

  bool CanClose() override;
  void NewFile() override;
  bool ShowNewText(const char* text) override;
  bool ReplaceWith(const char* path) override;
  bool ChooseFileToOpen(char* name, int size) override;

  bool Save() override;
  bool SaveAs() override;
  bool HasChanges() const override { return IsModified(); }

  bool CanUndoEdit() const override;
  void UndoEdit() override;
  bool HasSelection() const override;
  void CutSelection() override { Cut(); }
  void CopySelection() override { Copy(); }
  bool CanPasteText() const override { return CanPaste(); }
  void PasteText() override { Paste(); }
  void DeleteSelection() override;
  bool HasText() const override { return !IsEmpty(); }
  void ClearAll() override;
  void ShowFind(bool replace) override;
  bool HasSearch() const override { return !findData_.GetFindString().empty(); }
  void FindNextMatch() override;

  // Draws the pages that the printer's dialog data asks for on the
  // printer's context, `rect` being one page; only while printing.
  void Paint(wxDC& dc, const wxRect& rect);
  // The font of the printed lines and their height on `dc`.
  wxFont PrintFont() const;
  int PrintLineHeight(wxDC& dc) const;

  // The file name as the program writes it; "" for a new text.
  const char* FileName() const { return fileName_; }

 private:
  bool Write(const char* path);
  bool ChooseFile(bool save, const char* title, std::string* name);
  bool Downwards() const;
  bool FindFrom(long start, bool down);
  void OnTextChanged(wxCommandEvent& event);
  void OnFindEvent(wxFindDialogEvent& event);
  void ResetUndo();
  void NameForReaders();

  // What changed between two texts: from `at`, `removed` characters gave
  // way to `inserted` ones.
  struct TChange {
    size_t at = 0, removed = 0, inserted = 0;
  };
  static TChange Difference(const wxString& before, const wxString& after);
  enum class TEdit { None, Typing, Erasing, Other };

  TOpenSaveData dialogData_;
  char fileName_[kFileNameSize] = "";
  formats::TFileFormat format_;
  wxString current_, previous_;  // the text after and before the last edit
  TEdit editKind_ = TEdit::None;
  size_t editEnd_ = 0;  // where the next key continues the edit
  wxFindReplaceData findData_;
  wxFindReplaceDialog* findDialog_ = nullptr;
};
