// The document window: the system's multi-line edit control holding one
// file, the client of the main window. Screen readers name it after its
// document.
#pragma once
#include <string>

#include <windows.h>
#include <commdlg.h>

#include "app/document_window.h"
#include "app/file_commands.h"
#include "formats/document_text.h"

class TEditor : public TDocumentWindow {
 public:
  // Builds the control in `parent` and makes it the document window.
  TEditor(HWND parent, int id);
  ~TEditor() override;

  HWND Handle() const { return edit_; }
  // The label before the control that gives its accessible name.
  HWND Label() const { return label_; }
  // Takes the application's open/save dialog data.
  void SetupWindow() { dialogData_ = OpenSaveData; }

  bool CanClose() override;
  void NewFile() override;
  bool ShowNewText(const char* text) override;
  bool ReplaceWith(const char* path) override;
  bool ChooseFileToOpen(char* name, int size) override;

  bool Save() override;
  bool SaveAs() override;
  bool HasChanges() const override;

  bool CanUndoEdit() const override;
  void UndoEdit() override;
  bool HasSelection() const override;
  void CutSelection() override;
  void CopySelection() override;
  bool CanPasteText() const override;
  void PasteText() override;
  void DeleteSelection() override;
  bool HasText() const override;
  void ClearAll() override;
  void ShowFind(bool replace) override;
  bool HasSearch() const override { return find_[0] != 0; }
  void FindNextMatch() override;

  // The system's message font again, at the window's new DPI.
  void UpdateFont();
  // The find dialog's message (FINDMSGSTRING).
  void OnFind(const FINDREPLACEW& request);
  // The modeless find dialog, null when closed: the message loop hands it
  // its keys.
  HWND FindDialog() const { return findDialog_; }

  // The text with "\n" line ends.
  std::wstring Text() const;
  const char* FileName() const { return fileName_; }

 private:
  void SetText(const std::wstring& text);
  bool Write(const char* path);
  void NameForReaders();
  bool FindFrom(size_t start, bool down);
  void ReplaceSelection(const wchar_t* text);

  HWND label_ = nullptr;
  HWND edit_ = nullptr;
  HFONT font_ = nullptr;
  TOpenSaveData dialogData_;
  char fileName_[kFileNameSize] = "";
  formats::TFileFormat format_;
  FINDREPLACEW findData_{};
  wchar_t find_[128] = L"";
  wchar_t replace_[128] = L"";
  HWND findDialog_ = nullptr;
};
