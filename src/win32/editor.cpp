#include "win32/editor.h"

#include <cerrno>
#include <cstdio>

#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "formats/file_bytes.h"
#include "formats/wide_text.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "win32/accessible_name.h"
#include "win32/system_look.h"
#include "win32/wide.h"

namespace {

const char kChangedText[] = "Le texte du fichier %s a changé.\n\nVoulez-vous sauvegarder les modifications?";
const char kUntitled[] = "Document";

void ShowFileMessage(const char* format, const char* path) {
  char message[kFileNameSize + 64];
  std::snprintf(message, sizeof message, format, path);
  ShowInfo(message, kProductCaption);
}

// The control keeps CR LF line ends; the program "\n".
std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  for (wchar_t c : text) {
    if (c == L'\n') out += L'\r';
    out += c;
  }
  return out;
}

const char* BaseName(const char* path) {
  const char* base = path;
  for (const char* p = path; *p; ++p) {
    if (*p == '\\' || *p == '/') base = p + 1;
  }
  return base;
}

}  // namespace

TEditor::TEditor(HWND parent, int id) : dialogData_(OpenSaveData) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // The label stands just before the control: readers take it as its name.
  label_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 0, 0, 0, 0, parent, nullptr,
                           instance, nullptr);
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE |
                              ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN,
                          0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
  font_ = MessageFont(parent);
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  findData_.lStructSize = sizeof findData_;
  findData_.Flags = FR_DOWN;
  findData_.lpstrFindWhat = find_;
  findData_.wFindWhatLen = sizeof find_ / sizeof find_[0];
  findData_.lpstrReplaceWith = replace_;
  findData_.wReplaceWithLen = sizeof replace_ / sizeof replace_[0];
  NameForReaders();
  SetDocumentWindow(this);
}

void TEditor::UpdateFont() {
  HFONT old = font_;
  font_ = MessageFont(GetParent(edit_));
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  if (old) DeleteObject(old);
}

TEditor::~TEditor() {
  SetDocumentWindow(nullptr);
  if (font_) DeleteObject(font_);
}

std::wstring TEditor::Text() const {
  int length = GetWindowTextLengthW(edit_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(edit_, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c != L'\r') out += c;
  }
  return out;
}

void TEditor::SetText(const std::wstring& text) {
  SetWindowTextW(edit_, WithCrLf(text).c_str());
  SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
  SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(edit_, EM_SETSEL, 0, 0);
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

void TEditor::NameForReaders() {
  std::wstring name = Wide(fileName_[0] ? BaseName(fileName_) : kUntitled);
  SetWindowTextW(label_, name.c_str());
  SetAccessibleName(edit_, name.c_str());
}

bool TEditor::CanClose() {
  if (!HasChanges()) return true;
  char question[kFileNameSize + sizeof kChangedText];
  std::snprintf(question, sizeof question, kChangedText, fileName_[0] ? fileName_ : kUntitled);
  switch (AskYesNoCancel(question, kProductCaption)) {
    case kYes: return Save();
    case kNo: return true;
    default: return false;
  }
}

void TEditor::NewFile() {
  if (!CanClose()) return;
  SetText(L"");
  fileName_[0] = 0;
  format_ = formats::TFileFormat{};
  NameForReaders();
}

bool TEditor::ShowNewText(const char* text) {
  if (!CanClose()) return false;
  SetText(Wide(text));
  fileName_[0] = 0;
  format_ = formats::TFileFormat{};
  NameForReaders();
  // Not saved yet: closing asks first.
  SendMessageW(edit_, EM_SETMODIFY, TRUE, 0);
  return true;
}

bool TEditor::ReplaceWith(const char* path) {
  std::string bytes;
  if (!formats::ReadFileBytes(platform::MapPath(path), &bytes)) {
    ShowFileMessage(errno == EFBIG ? "Le fichier %s dépasse 1 Mo : la fenêtre ne peut pas l'éditer."
                                   : "Impossible de lire le fichier %s.",
                    path);
    return false;
  }
  SetText(formats::Widen(formats::DecodeFileText(bytes, &format_)));
  CopyText(fileName_, path);
  NameForReaders();
  return true;
}

bool TEditor::ChooseFileToOpen(char* name, int size) {
  std::string chosen;
  if (!platform::Get().files->ChooseFile(false, "Open", OpenSaveData.filter, &chosen)) return false;
  CopyText(name, size, chosen.c_str());
  return true;
}

bool TEditor::Save() { return fileName_[0] ? Write(fileName_) : SaveAs(); }

bool TEditor::SaveAs() {
  std::string name;
  if (!platform::Get().files->ChooseFile(true, "Save As", dialogData_.filter, &name)) return false;
  if (std::string(BaseName(name.c_str())).find('.') == std::string::npos)
    name += std::string(".") + dialogData_.defaultExtension;
  if (name.size() >= kFileNameSize) {
    ShowFileMessage("Le nom du fichier %s est trop long.", name.c_str());
    return false;
  }
  if (!Write(name.c_str())) return false;
  CopyText(fileName_, name.c_str());
  NameForReaders();
  SavedAs(fileName_);
  return true;
}

bool TEditor::Write(const char* path) {
  std::wstring text = Text();
  std::string bytes = formats::EncodeFileText(formats::Narrow(text.c_str(), text.size()), &format_);
  if (!formats::WriteFileBytes(platform::MapPath(path), bytes)) {
    ShowWriteFailure(path, errno);
    return false;
  }
  SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
  return true;
}

bool TEditor::HasChanges() const { return SendMessageW(edit_, EM_GETMODIFY, 0, 0) != 0; }
bool TEditor::CanUndoEdit() const { return SendMessageW(edit_, EM_CANUNDO, 0, 0) != 0; }
void TEditor::UndoEdit() { SendMessageW(edit_, EM_UNDO, 0, 0); }

bool TEditor::HasSelection() const {
  DWORD from = 0, to = 0;
  SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  return from != to;
}

void TEditor::CutSelection() { SendMessageW(edit_, WM_CUT, 0, 0); }
void TEditor::CopySelection() { SendMessageW(edit_, WM_COPY, 0, 0); }
bool TEditor::CanPasteText() const { return IsClipboardFormatAvailable(CF_UNICODETEXT) != 0; }
void TEditor::PasteText() { SendMessageW(edit_, WM_PASTE, 0, 0); }
void TEditor::DeleteSelection() { SendMessageW(edit_, WM_CLEAR, 0, 0); }
bool TEditor::HasText() const { return GetWindowTextLengthW(edit_) > 0; }

// As an edit of its own, so that Undo gives the text back.
void TEditor::ClearAll() {
  SendMessageW(edit_, EM_SETSEL, 0, -1);
  SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
}

void TEditor::ReplaceSelection(const wchar_t* text) {
  SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}
