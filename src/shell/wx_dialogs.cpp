#include "shell/wx_dialogs.h"

#include <cwctype>

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "core/prompts.h"
#include "shell/accessibility.h"
#include "shell/keys_while_playing.h"
#include "shell/pav_sdi_app.h"
#include "shell/sdi_dec_frame.h"
#include "shell/wx_text.h"

namespace {

constexpr int kOk = 1;
constexpr int kTextWidth = 480;
constexpr int kBorder = 12;

// The window the box belongs to: the active one (the main window, or the
// preview that hides it), else the main window when it shows.
wxWindow* BoxParent() {
  if (wxWindow* active = wxGetActiveWindow()) return wxGetTopLevelParent(active);
  auto* app = dynamic_cast<TPavSdiApp*>(wxTheApp);
  wxWindow* frame = app ? app->Frame() : nullptr;
  return frame && frame->IsShown() ? frame : nullptr;
}

class TMessageBox : public wxDialog {
 public:
  TMessageBox(wxWindow* parent, const wxString& text, const wxString& caption, bool question)
      : wxDialog(parent, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize,
                 wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | (parent ? 0 : wxSTAY_ON_TOP)),
        question_(question) {
    auto* column = new wxBoxSizer(wxVERTICAL);
    if (!text.empty()) {
      // Set as plain text: an "&" in it is no mnemonic.
      auto* label = new wxStaticText(this, wxID_ANY, "");
      label->SetLabelText(text);
      label->Wrap(FromDIP(kTextWidth));
      column->Add(label, 0, wxALL, FromDIP(kBorder));
    }
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    if (question) {
      AddButton(row, wxID_YES, "&Oui");
      AddButton(row, wxID_NO, "&Non");
      AddButton(row, wxID_CANCEL, "&Annuler");
    } else {
      AddButton(row, wxID_OK, "OK");
    }
    column->Add(row, 0, wxALIGN_CENTER | wxALL, FromDIP(kBorder));
    SetSizerAndFit(column);
    SetMinSize(wxSize(FromDIP(240), -1));
    Fit();
    CentreOnParent();
    SetEscapeId(question ? wxID_CANCEL : wxID_OK);
    Bind(wxEVT_CHAR_HOOK, &TMessageBox::OnKey, this);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) { EndModal(event.GetId()); });
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent&) { first_->SetFocus(); });
    ReadAsAlert(this, text);
    FocusWhenShown(this);
  }

 private:
  void AddButton(wxSizer* row, wxWindowID id, const char* label) {
    auto* button = new wxButton(this, id, label);
    row->Add(button, 0, wxLEFT | wxRIGHT, FromDIP(4));
    if (!first_) {
      first_ = button;
      button->SetDefault();
    }
  }

  void OnKey(wxKeyEvent& event) {
    int modifiers = event.GetModifiers() & ~wxMOD_SHIFT;
    int key = event.GetKeyCode();
    wxChar letter = static_cast<wxChar>(std::towupper(event.GetUnicodeKey()));
    int answer = 0;
    if (key == WXK_ESCAPE) {
      answer = question_ ? wxID_CANCEL : wxID_OK;
    } else if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
      auto* focused = dynamic_cast<wxButton*>(FindFocus());
      answer = focused && focused->GetParent() == this ? focused->GetId() : first_->GetId();
    } else if (modifiers != wxMOD_NONE) {
      answer = 0;
    } else if (!question_) {
      if (key == WXK_SPACE) answer = wxID_OK;
    } else if (letter == 'O') {
      answer = wxID_YES;
    } else if (letter == 'N') {
      answer = wxID_NO;
    } else if (letter == 'A') {
      answer = wxID_CANCEL;
    }
    if (answer)
      EndModal(answer);
    else
      event.Skip();
  }

  bool question_;
  wxButton* first_ = nullptr;
};

}  // namespace

int TWxDialogs::MessageBox(const char* text, const char* caption, unsigned type) {
  bool question = type == kQuestionBox;
  BetweenPlayings();
  TMessageBox box(BoxParent(), Wx(text), Wx(caption), question);
  int shown = box.ShowModal();
  BetweenPlayings();
  switch (shown) {
    case wxID_YES: return kYes;
    case wxID_NO: return kNo;
    case wxID_CANCEL: return question ? kCancel : kOk;
    default: return kOk;
  }
}
