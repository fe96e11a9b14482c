#include "shell/wx_file_dialogs.h"

#include <wx/app.h>
#include <wx/filedlg.h>

#include "core/prompts.h"
#include "core/text_files.h"
#include "formats/encoding.h"
#include "shell/wx_text.h"

namespace {

// "Tablatures (*.tab)|*.tab|": the dialog wants no trailing separator.
wxString Wildcard(const char* filter) {
  wxString wildcard = Wx(filter);
  if (wildcard.EndsWith("|")) wildcard.RemoveLast();
  return wildcard;
}

}  // namespace

bool TWxFileDialogs::ChooseFile(bool save, const char* title, const char* filter, std::string* name) {
  long style = save ? (wxFD_SAVE | wxFD_OVERWRITE_PROMPT) : (wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  wxFileDialog dialog(wxTheApp->GetTopWindow(), Wx(title), "", "", Wildcard(filter), style);
  if (dialog.ShowModal() != wxID_OK) return false;
  *name = Cp1252(dialog.GetPath());
  if (formats::FitsCp1252(std::string(dialog.GetPath().utf8_str()))) return true;
  ShowInfo(name->c_str(), kNameNotWritable);
  return false;
}
