#include "shell/pav_sdi_about_dlg.h"

#include <wx/button.h>
#include <wx/statbmp.h>

#include "app/about_texts.h"
#include "app/project_rc_version.h"
#include "app/version_block.h"
#include "core/working_state.h"
#include "shell/accessibility.h"
#include "shell/glyphs.h"
#include "shell/wx_text.h"

namespace {

enum : int { kVersionText = 22001, kCopyrightText = 22002, kSpecialText = 22003 };

// Places a control in dialog units, as the dialog's resource gives them.
wxPoint At(wxWindow* dialog, int x, int y) { return dialog->ConvertDialogToPixels(wxPoint(x, y)); }
wxSize Size(wxWindow* dialog, int w, int h) { return dialog->ConvertDialogToPixels(wxSize(w, h)); }

wxStaticText* Text(wxWindow* dialog, int id, const char* text, int x, int y, int w, int h, long align) {
  return new wxStaticText(dialog, id, Wx(text), At(dialog, x, y), Size(dialog, w, h),
                          align | wxST_NO_AUTORESIZE);
}

}  // namespace

TPavSdiAboutDlg::TPavSdiAboutDlg(wxWindow* parent)
    : wxDialog(parent, 22000, "About PavSdi", wxPoint(12, 17), wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU) {
  SetFont(wxFont(wxFontInfo(8)));
  SetClientSize(Size(this, 204, 65));
  version_ = Text(this, kVersionText, "Version", 2, 14, 200, 8, wxALIGN_CENTRE_HORIZONTAL);
  title_ = Text(this, wxID_ANY, "Pavane SDI Example", 2, 4, 200, 8, wxALIGN_CENTRE_HORIZONTAL);
  copyright_ = Text(this, kCopyrightText, "", 2, 27, 200, 17, wxALIGN_CENTRE_HORIZONTAL);
  special_ = Text(this, kSpecialText, "", 136, 55, 66, 8, wxALIGN_RIGHT);
  new wxStaticBitmap(this, wxID_ANY, ApplicationIcon(32), At(this, 2, 2), Size(this, 34, 34));
  auto* ok = new wxButton(this, wxID_OK, "OK", At(this, 82, 48), Size(this, 40, 14));
  ok->SetDefault();
  ok->SetFocus();
  SetupWindow();
}

void TPavSdiAboutDlg::SetupWindow() {
  TAboutTexts texts;
  CopyText(texts.version, Cp1252(version_->GetLabel()).c_str());
  CopyText(texts.copyright, Cp1252(copyright_->GetLabel()).c_str());
  CopyText(texts.special, Cp1252(special_->GetLabel()).c_str());
  TProjectRCVersion version(ProgramModule());
  FillAboutTexts(version, texts);
  version_->SetLabel(Wx(texts.version));
  copyright_->SetLabel(Wx(texts.copyright));
  special_->SetLabel(Wx(texts.special));
  // Read when it opens, as the message boxes are: a reader finds no label
  // of a dialog by itself.
  wxString spoken;
  for (wxStaticText* line : {title_, version_, copyright_, special_})
    if (!line->GetLabel().empty()) spoken += (spoken.empty() ? "" : "\n") + line->GetLabel();
  ReadAsAlert(this, spoken);
}

void ShowAboutBox(wxWindow* mainWindow) {
  TPavSdiAboutDlg dialog(mainWindow);
  dialog.ShowModal();
}
