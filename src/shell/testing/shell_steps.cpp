#include "shell/testing/shell_steps.h"

#include <cstdlib>
#include <fstream>

#include <wx/dialog.h>
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
  for (wxWindow* child : dialog->GetChildren())
    out << "CONTROL\t" << (child->GetId() < 0 ? -1 : child->GetId()) << "\t" << Field(child->GetLabel()) << "\n";
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
