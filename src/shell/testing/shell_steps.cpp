#include "shell/testing/shell_steps.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/fdrepdlg.h>
#include <wx/listbox.h>
#include <wx/radiobox.h>
#include <wx/textctrl.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>

#include "drivers/console_ui.h"
#include "shell/pav_preview_win.h"
#include "shell/pav_printer.h"
#include "shell/print_commands.h"
#include "shell/testing/test_script.h"
#include "shell/wx_text.h"

namespace testscript {
namespace {

std::string Field(const wxString& text) { return drivers::EscapeField(Cp1252(text).c_str()); }

void DumpDialog(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  wxDialog* dialog = ShownDialog();
  if (!dialog) return;
  out << "CAPTION\t" << Field(dialog->GetTitle()) << "\n";
  for (wxWindow* child : dialog->GetChildren()) {
    out << "CONTROL\t" << (child->GetId() < 0 ? -1 : child->GetId()) << "\t" << Field(child->GetLabel()) << "\n";
    if (auto* list = dynamic_cast<wxListBox*>(child))
      for (unsigned i = 0; i < list->GetCount(); ++i) out << "ITEM\t" << Field(list->GetString(i)) << "\n";
  }
}

void DumpPreview(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  TPavPreviewWin* preview = ShownPreview();
  if (!preview) return;
  const TPreviewPages& shown = preview->Shown();
  out << "TITLE\t" << Field(preview->GetTitle()) << "\n";
  out << "LABEL\t" << Field(preview->Label()) << "\n";
  out << "SHOWN\t" << shown.first << "\t" << shown.second << "\t" << (shown.two ? 1 : 0) << "\t"
      << SecondViewPage(shown, preview->PageCount()) << "\n";
  out << "PAGES\t" << preview->PageCount() << "\n";
  wxToolBar* tools = preview->Tools();
  for (size_t i = 0; i < tools->GetToolsCount(); ++i) {
    const wxToolBarToolBase* tool = tools->GetToolByPos(static_cast<int>(i));
    int id = tool->IsSeparator() ? 0 : tool->IsControl() ? tool->GetControl()->GetId() : tool->GetId();
    out << "TOOL\t" << id << "\t" << (tool->IsButton() ? (preview->Enabled(id) ? 1 : 0) : -1) << "\n";
  }
}

// Fills the search dialog as a user would and presses one of its buttons:
// "BUTTON FLAGS FIND [REPLACE]", BUTTON one of find, replace, all; FLAGS
// letters of w (whole word), c (match case), u (up), or "-".
void Search(const std::string& argument) {
  wxFindReplaceDialog* dialog = nullptr;
  for (wxWindow* window : wxTopLevelWindows)
    if (auto* shown = dynamic_cast<wxFindReplaceDialog*>(window); shown && shown->IsShown()) dialog = shown;
  std::istringstream words(argument);
  std::string button, flags, find, replace;
  words >> button >> flags >> find >> replace;
  if (!dialog) return;
  std::vector<wxTextCtrl*> texts;
  std::vector<wxCheckBox*> checks;
  wxRadioBox* direction = nullptr;
  for (wxWindow* child : dialog->GetChildren()) {
    if (auto* text = wxDynamicCast(child, wxTextCtrl)) texts.push_back(text);
    if (auto* check = wxDynamicCast(child, wxCheckBox)) checks.push_back(check);
    if (auto* radio = wxDynamicCast(child, wxRadioBox)) direction = radio;
  }
  // The dialog's controls: find, replace; whole word, match case; up, down.
  texts[0]->SetValue(wxString::FromUTF8(find));
  if (texts.size() > 1) texts[1]->SetValue(wxString::FromUTF8(replace));
  checks[0]->SetValue(flags.find('w') != std::string::npos);
  checks[1]->SetValue(flags.find('c') != std::string::npos);
  if (direction) direction->SetSelection(flags.find('u') != std::string::npos ? 0 : 1);
  int id = button == "replace" ? wxID_REPLACE : button == "all" ? wxID_REPLACE_ALL : wxID_FIND;
  wxCommandEvent press(wxEVT_BUTTON, id);
  press.SetEventObject(dialog->FindWindow(id));
  dialog->GetEventHandler()->ProcessEvent(press);
}

void PreviewKey(std::string key) {
  TPavPreviewWin* preview = ShownPreview();
  if (!preview) return;
  int modifiers = wxMOD_NONE;
  if (key.rfind("alt+", 0) == 0) {
    modifiers = wxMOD_ALT;
    key = key.substr(4);
  }
  int code = key == "Escape" ? WXK_ESCAPE : key.size() == 1 ? key[0] : 0;
  if (!code) return;
  preview->Raise();
  preview->SetFocus();
  wxUIActionSimulator().Char(code, modifiers);
}

}  // namespace

bool ShellSteps(const std::string& verb, const std::string& argument) {
  wxDialog* dialog = ShownDialog();
  TPavPreviewWin* preview = ShownPreview();
  if (verb == "dialogdump") {
    DumpDialog(argument);
  } else if (verb == "dialogclose") {
    if (dialog) dialog->EndModal(wxID_OK);
  } else if (verb == "printpdf") {
    size_t blank = argument.rfind(' ');
    int pages = PrintDocumentToPdf(argument.substr(0, blank), std::atoi(argument.c_str() + blank + 1));
    LogLine("PRINTED\t" + std::to_string(pages) + "\t" + (Printer() ? Printer()->device : std::string()));
  } else if (verb == "paper") {
    UsePrinter().data.GetPrintData().SetOrientation(argument == "landscape" ? wxLANDSCAPE : wxPORTRAIT);
  } else if (verb == "previewdump") {
    DumpPreview(argument);
  } else if (verb == "previewcommand") {
    if (preview) {
      wxCommandEvent event(wxEVT_MENU, std::atoi(argument.c_str()));
      wxPostEvent(preview, event);
    }
  } else if (verb == "search") {
    Search(argument);
  } else if (verb == "previewkey") {
    PreviewKey(argument);
  } else if (verb == "previewclose") {
    if (preview) preview->Close();
  } else {
    return false;
  }
  return true;
}

}  // namespace testscript
