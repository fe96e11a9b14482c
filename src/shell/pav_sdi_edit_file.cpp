#include "shell/pav_sdi_edit_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <wx/filename.h>

#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "formats/file_bytes.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "shell/wx_text.h"

namespace {

const char kChangedText[] =
    "Le texte du fichier %s a changé.\n\nVoulez-vous sauvegarder les modifications?";
const char kUntitled[] = "Document";

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
  Bind(wxEVT_TEXT, &TPavSdiEditFile::OnTextChanged, this);
  Bind(wxEVT_FIND, &TPavSdiEditFile::OnFindEvent, this);
  Bind(wxEVT_FIND_NEXT, &TPavSdiEditFile::OnFindEvent, this);
  Bind(wxEVT_FIND_REPLACE, &TPavSdiEditFile::OnFindEvent, this);
  Bind(wxEVT_FIND_REPLACE_ALL, &TPavSdiEditFile::OnFindEvent, this);
  Bind(wxEVT_FIND_CLOSE, &TPavSdiEditFile::OnFindEvent, this);
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
  fileName_[0] = 0;
  format_ = formats::TFileFormat{};
  ResetUndo();
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
  CopyText(fileName_, path);
  SetInsertionPoint(0);
  ResetUndo();
  return true;
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
}

void TPavSdiEditFile::OnTextChanged(wxCommandEvent& event) {
  previous_ = current_;
  current_ = GetValue();
  event.Skip();
}

bool TPavSdiEditFile::CanUndoEdit() const { return previous_ != current_; }

bool TPavSdiEditFile::HasSelection() const {
  long from, to;
  GetSelection(&from, &to);
  return from != to;
}

// One level, as the edit control has: undoing twice gives the change back.
void TPavSdiEditFile::UndoEdit() {
  if (!CanUndoEdit()) return;
  wxString back = previous_;
  SetValue(back);
  MarkDirty();
}

void TPavSdiEditFile::DeleteSelection() {
  long from, to;
  GetSelection(&from, &to);
  if (from != to) Remove(from, to);
}

void TPavSdiEditFile::ClearAll() {
  SetValue("");
  MarkDirty();
}

void TPavSdiEditFile::ShowFind(bool replace) {
  if (findDialog_) findDialog_->Destroy();
  findDialog_ = new wxFindReplaceDialog(this, &findData_, replace ? "Replace" : "Find",
                                        replace ? wxFR_REPLACEDIALOG : 0);
  findDialog_->Show();
}

void TPavSdiEditFile::FindNextMatch() {
  long from, to;
  GetSelection(&from, &to);
  if (!FindFrom(to)) wxBell();
}

bool TPavSdiEditFile::FindFrom(long start) {
  wxString text = GetValue(), wanted = findData_.GetFindString();
  if (wanted.empty()) return false;
  if (!(findData_.GetFlags() & wxFR_MATCHCASE)) {
    text.MakeLower();
    wanted.MakeLower();
  }
  size_t at = text.find(wanted, static_cast<size_t>(start));
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
    if (!FindFrom(from == to ? GetInsertionPoint() : from)) wxBell();
  } else if (type == wxEVT_FIND_NEXT) {
    FindNextMatch();
  } else if (type == wxEVT_FIND_REPLACE) {
    if (from != to) Replace(from, to, findData_.GetReplaceString());
    FindNextMatch();
  } else {
    long next = 0;
    while (FindFrom(next)) {
      GetSelection(&from, &to);
      Replace(from, to, findData_.GetReplaceString());
      next = from + static_cast<long>(findData_.GetReplaceString().length());
    }
  }
}
