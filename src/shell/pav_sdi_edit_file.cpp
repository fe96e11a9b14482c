#include "shell/pav_sdi_edit_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include <wx/filename.h>

#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "formats/file_bytes.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "shell/accessibility.h"
#include "shell/wx_text.h"

namespace {

const char kChangedText[] =
    "Le texte du fichier %s a changé.\n\nVoulez-vous sauvegarder les modifications?";
const char kUntitled[] = "Document";

// A search heard by ear: a match is heard as the selection moves, its
// absence only when said.
void ShowSearchResult(const wxString& wanted, int replaced) {
  std::string text = replaced > 1    ? std::to_string(replaced) + " remplacements"
                     : replaced == 1 ? std::string("1 remplacement")
                                     : "« " + Cp1252(wanted) + " » introuvable";
  ShowInfo(text.c_str(), "Rechercher");
}

void ShowFileMessage(const char* format, const char* path) {
  char message[kFileNameSize + 48];
  std::snprintf(message, sizeof message, format, path);
  ShowInfo(message, kProductCaption);
}

}  // namespace

TPavSdiEditFile::TPavSdiEditFile(wxWindow* parent)
    : wxTextCtrl(parent, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                 wxTE_MULTILINE | wxTE_NOHIDESEL | wxHSCROLL, wxDefaultValidator, kUntitled),
      dialogData_(OpenSaveData),
      findData_(wxFR_DOWN) {
  // Tablatures are aligned in columns.
  SetFont(wxFontInfo(GetFont().GetPointSize()).Family(wxFONTFAMILY_TELETYPE));
  Bind(wxEVT_TEXT, &TPavSdiEditFile::OnTextChanged, this);
  NameForReaders();
  SetDocumentWindow(this);
}

TPavSdiEditFile::~TPavSdiEditFile() { SetDocumentWindow(nullptr); }

void TPavSdiEditFile::SetupWindow() { dialogData_ = OpenSaveData; }

bool TPavSdiEditFile::CanClose() {
  if (!IsModified()) return true;
  char question[kFileNameSize + sizeof kChangedText];
  std::snprintf(question, sizeof question, kChangedText, fileName_[0] ? fileName_ : kUntitled);
  switch (AskYesNoCancel(question, kProductCaption)) {
    case kYes: return Save();
    case kNo: return true;
    default: return false;
  }
}

void TPavSdiEditFile::NewFile() {
  if (!CanClose()) return;
  ChangeValue("");
  DiscardEdits();
  fileName_[0] = 0;
  NameForReaders();
  format_ = formats::TFileFormat{};
  ResetUndo();
}

bool TPavSdiEditFile::ShowNewText(const char* text) {
  if (!CanClose()) return false;
  ChangeValue(Wx(text));
  fileName_[0] = 0;
  NameForReaders();
  format_ = formats::TFileFormat{};
  SetInsertionPoint(0);
  ResetUndo();
  // Not saved yet: closing asks first.
  MarkDirty();
  return true;
}

bool TPavSdiEditFile::ReplaceWith(const char* path) {
  std::string bytes;
  // The window edits files up to formats::kReadLimit (1 Mo).
  if (!formats::ReadFileBytes(platform::MapPath(path), &bytes)) {
    ShowFileMessage(errno == EFBIG ? "Le fichier %s dépasse 1 Mo : la fenêtre ne peut pas l'éditer."
                                   : "Impossible de lire le fichier %s.",
                    path);
    return false;
  }
  ChangeValue(wxString::FromUTF8(formats::DecodeFileText(bytes, &format_)));
  DiscardEdits();
  CopyText(fileName_, path);
  NameForReaders();
  SetInsertionPoint(0);
  ResetUndo();
  return true;
}

// The screen reader names the editor after its document.
void TPavSdiEditFile::NameForReaders() {
  SetAccessibleName(this, fileName_[0] ? wxFileName(Wx(fileName_)).GetFullName() : wxString(kUntitled));
}

bool TPavSdiEditFile::ChooseFile(bool save, const char* title, std::string* name) {
  const TOpenSaveData& data = save ? dialogData_ : OpenSaveData;
  return platform::Get().files->ChooseFile(save, title, data.filter, name);
}

bool TPavSdiEditFile::ChooseFileToOpen(char* name, int size) {
  std::string chosen;
  if (!ChooseFile(false, "Open", &chosen)) return false;
  CopyText(name, size, chosen.c_str());
  return true;
}

bool TPavSdiEditFile::Save() { return fileName_[0] ? Write(fileName_) : SaveAs(); }

bool TPavSdiEditFile::SaveAs() {
  std::string name;
  if (!ChooseFile(true, "Save As", &name)) return false;
  if (!wxFileName(wxString::FromUTF8(name)).HasExt()) name += std::string(".") + dialogData_.defaultExtension;
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

bool TPavSdiEditFile::Write(const char* path) {
  std::string bytes = formats::EncodeFileText(std::string(GetValue().utf8_str()), &format_);
  if (!formats::WriteFileBytes(platform::MapPath(path), bytes)) {
    ShowWriteFailure(path, errno);
    return false;
  }
  DiscardEdits();
  return true;
}

void TPavSdiEditFile::ResetUndo() {
  current_ = GetValue();
  previous_ = current_;
  editKind_ = TEdit::None;
}

TPavSdiEditFile::TChange TPavSdiEditFile::Difference(const wxString& before, const wxString& after) {
  size_t shorter = std::min(before.length(), after.length());
  TChange change;
  while (change.at < shorter && before[change.at] == after[change.at]) ++change.at;
  size_t same = 0;
  while (same < shorter - change.at && before[before.length() - 1 - same] == after[after.length() - 1 - same]) ++same;
  change.removed = before.length() - change.at - same;
  change.inserted = after.length() - change.at - same;
  return change;
}

// Keys typed one after the other, or erased one after the other, make one
// edit; any other change is an edit of its own.
void TPavSdiEditFile::OnTextChanged(wxCommandEvent& event) {
  wxString now = GetValue();
  TChange change = Difference(current_, now);
  TEdit kind = TEdit::Other;
  bool goesOn = false;
  if (change.removed == 0 && change.inserted == 1) {
    kind = TEdit::Typing;
    goesOn = editKind_ == kind && change.at == editEnd_;
    editEnd_ = change.at + 1;
  } else if (change.inserted == 0 && change.removed == 1) {
    kind = TEdit::Erasing;
    goesOn = editKind_ == kind && (change.at + 1 == editEnd_ || change.at == editEnd_);
    editEnd_ = change.at;
  }
  if (!goesOn) previous_ = current_;
  editKind_ = kind;
  current_ = now;
  event.Skip();
}

bool TPavSdiEditFile::CanUndoEdit() const { return previous_ != current_; }

bool TPavSdiEditFile::HasSelection() const {
  long from, to;
  GetSelection(&from, &to);
  return from != to;
}

// One level: undoing twice gives the edit back. The caret goes where the
// edit was.
void TPavSdiEditFile::UndoEdit() {
  if (!CanUndoEdit()) return;
  TChange change = Difference(current_, previous_);
  std::swap(current_, previous_);
  editKind_ = TEdit::None;
  ChangeValue(current_);
  SetInsertionPoint(static_cast<long>(change.at + change.inserted));
  ShowPosition(GetInsertionPoint());
  MarkDirty();
}

void TPavSdiEditFile::DeleteSelection() {
  long from, to;
  GetSelection(&from, &to);
  if (from != to) Remove(from, to);
}

void TPavSdiEditFile::ClearAll() {
  editKind_ = TEdit::None;
  SetValue("");
  MarkDirty();
}

void TPavSdiEditFile::ShowFind(bool replace) {
  if (findDialog_) findDialog_->Destroy();
  findDialog_ = new wxFindReplaceDialog(this, &findData_, replace ? "Replace" : "Find",
                                        replace ? wxFR_REPLACEDIALOG : 0);
  // The dialog's events go to its own handler, then to the frame: the
  // editor hears them on the dialog.
  for (const auto& type : {wxEVT_FIND, wxEVT_FIND_NEXT, wxEVT_FIND_REPLACE, wxEVT_FIND_REPLACE_ALL, wxEVT_FIND_CLOSE})
    findDialog_->Bind(type, &TPavSdiEditFile::OnFindEvent, this);
  findDialog_->Show();
}

void TPavSdiEditFile::FindNextMatch() {
  long from, to;
  GetSelection(&from, &to);
  bool down = Downwards();
  if (!FindFrom(down ? to : from, down)) ShowSearchResult(findData_.GetFindString(), 0);
}

bool TPavSdiEditFile::Downwards() const { return (findData_.GetFlags() & wxFR_DOWN) != 0; }

// Searching down, the first match at or after `start`; up, the last one
// that begins before it. "Mot complet" takes only matches between non-word
// characters.
bool TPavSdiEditFile::FindFrom(long start, bool down) {
  wxString text = GetValue(), wanted = findData_.GetFindString();
  if (wanted.empty()) return false;
  int flags = findData_.GetFlags();
  if (!(flags & wxFR_MATCHCASE)) {
    text.MakeLower();
    wanted.MakeLower();
  }
  auto wordAt = [&text](size_t i) { return i < text.length() && (wxIsalnum(text[i]) || text[i] == '_'); };
  auto whole = [&](size_t at) {
    return !(flags & wxFR_WHOLEWORD) || ((at == 0 || !wordAt(at - 1)) && !wordAt(at + wanted.length()));
  };
  size_t at = wxString::npos;
  if (down) {
    for (at = text.find(wanted, static_cast<size_t>(start)); at != wxString::npos && !whole(at);)
      at = text.find(wanted, at + 1);
  } else {
    for (long before = start - 1; before >= 0; --before) {
      at = text.rfind(wanted, static_cast<size_t>(before));
      if (at == wxString::npos || whole(at)) break;
      before = static_cast<long>(at);
      at = wxString::npos;
    }
  }
  if (at == wxString::npos) return false;
  SetSelection(static_cast<long>(at), static_cast<long>(at + wanted.length()));
  ShowPosition(static_cast<long>(at));
  return true;
}

void TPavSdiEditFile::OnFindEvent(wxFindDialogEvent& event) {
  wxEventType type = event.GetEventType();
  if (type == wxEVT_FIND_CLOSE) {
    findDialog_->Destroy();
    findDialog_ = nullptr;
    return;
  }
  long from, to;
  GetSelection(&from, &to);
  if (type == wxEVT_FIND) {
    // The selection itself may be the match.
    bool down = Downwards();
    if (!FindFrom(down ? from : to, down)) ShowSearchResult(findData_.GetFindString(), 0);
  } else if (type == wxEVT_FIND_NEXT) {
    FindNextMatch();
  } else if (type == wxEVT_FIND_REPLACE) {
    if (from != to) Replace(from, to, findData_.GetReplaceString());
    FindNextMatch();
  } else {
    long next = 0;
    int replaced = 0;
    while (FindFrom(next, true)) {
      GetSelection(&from, &to);
      Replace(from, to, findData_.GetReplaceString());
      next = from + static_cast<long>(findData_.GetReplaceString().length());
      ++replaced;
    }
    ShowSearchResult(findData_.GetFindString(), replaced);
  }
}
