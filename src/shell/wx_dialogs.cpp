#include "shell/wx_dialogs.h"

#include <wx/msgdlg.h>

#include "core/prompts.h"
#include "shell/wx_text.h"

namespace {

constexpr unsigned kQuestionType = 3;
constexpr int kOk = 1;

int ShowDialog(const char* text, const char* caption, bool question) {
  long style = wxSTAY_ON_TOP | wxCENTRE;
  style |= question ? (wxYES_NO | wxCANCEL) : (wxOK | wxICON_INFORMATION);
  wxMessageDialog box(nullptr, Wx(text), Wx(caption), style);
  if (question)
    box.SetYesNoCancelLabels("Oui", "Non", "Annuler");
  else
    box.SetOKLabel("OK");
  box.Raise();
  switch (box.ShowModal()) {
    case wxID_YES: return kYes;
    case wxID_NO: return kNo;
    case wxID_OK: return kOk;
    default: return question ? kCancel : kOk;
  }
}

}  // namespace

int TWxDialogs::MessageBox(const char* text, const char* caption, unsigned type) {
  return ShowDialog(text, caption, type == kQuestionType);
}
