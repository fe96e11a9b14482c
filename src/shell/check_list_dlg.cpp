#include "shell/check_list_dlg.h"

#include <cstring>
#include <vector>

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "core/command_table.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "shell/accessibility.h"
#include "shell/pav_sdi_edit_file.h"
#include "shell/wx_text.h"
#include "tablature/tablature_check.h"

namespace {

TPavSdiEditFile* checkedEditor = nullptr;

class TCheckListDlg : public wxDialog {
 public:
  TCheckListDlg(wxWindow* parent, const std::vector<TCheckProblem>& problems)
      : wxDialog(parent, wxID_ANY, Wx(kCheckCaption), wxDefaultPosition, wxDefaultSize,
                 wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER) {
    wxString summary = Wx(CheckSummary(problems).c_str());
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(new wxStaticText(this, wxID_ANY, summary), 0, wxALL, FromDIP(8));
    list_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(560, 240)));
    for (const TCheckProblem& p : problems) list_->Append(Wx(p.text.c_str()));
    list_->SetSelection(0);
    column->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT, FromDIP(8));
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxButton(this, wxID_OK, "&Aller"), 0, wxRIGHT, FromDIP(4));
    row->Add(new wxButton(this, wxID_CANCEL, "&Fermer"));
    column->Add(row, 0, wxALIGN_RIGHT | wxALL, FromDIP(8));
    SetSizerAndFit(column);
    CentreOnParent();
    SetEscapeId(wxID_CANCEL);
    // Enter in the list, as a double click, goes to the problem.
    list_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { EndModal(wxID_OK); });
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
      if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER)
        EndModal(wxID_OK);
      else
        event.Skip();
    });
    // The list has the keys once the box shows.
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent&) { CallAfter([this] { list_->SetFocus(); }); });
    // The summary is said when the list opens, its items as the arrows
    // reach them.
    ReadAsAlert(this, summary);
  }

  int Chosen() const { return list_->GetSelection(); }

 private:
  wxListBox* list_;
};

// The caret at a line and column of the current tablature, which the
// editor shows first when it shows another text.
void GoTo(const TCheckProblem& problem) {
  TPavSdiEditFile* editor = checkedEditor;
  if (std::strcmp(editor->FileName(), WorkingState.TabFile) != 0) {
    if (!editor->CanClose() || !editor->ReplaceWith(WorkingState.TabFile)) return;
  }
  long at = editor->XYToPosition(problem.column - 1, problem.line - 1);
  if (at < 0) return;
  editor->SetInsertionPoint(at);
  editor->ShowPosition(at);
  editor->SetFocus();
}

void CheckInList(const char*) {
  std::vector<TCheckProblem> problems = CheckProblems(WorkingState.TabText.c_str());
  if (problems.empty()) {
    ShowInfo(CheckSummary(problems).c_str(), kCheckCaption);
  } else {
    TCheckListDlg dialog(wxGetTopLevelParent(checkedEditor), problems);
    if (dialog.ShowModal() == wxID_OK && dialog.Chosen() >= 0) GoTo(problems[dialog.Chosen()]);
  }
  PlayCue(kEditionCue);
}

}  // namespace

void RegisterCheckList(TPavSdiEditFile* editor) {
  checkedEditor = editor;
  RegisterCommand(kCheckCommand, CheckInList);
}
