#include "shell/pav_printer.h"

#include <memory>

#include <wx/app.h>
#include <wx/module.h>
#include <wx/toplevel.h>

#include "drivers/default_printer.h"
#include "shell/wx_text.h"

namespace {

std::unique_ptr<TPavPrinter> printer;
int printing = 0;

// The printer goes before the toolkit's printing classes do.
class TPrinterModule : public wxModule {
 public:
  bool OnInit() override { return true; }
  void OnExit() override { ReleasePrinter(); }

 private:
  wxDECLARE_DYNAMIC_CLASS(TPrinterModule);
};
wxIMPLEMENT_DYNAMIC_CLASS(TPrinterModule, wxModule);

}  // namespace

TPavPrinter* Printer() { return printer.get(); }

TPavPrinter& UsePrinter() {
  std::string device = drivers::DefaultPrinterName();
  if (!printer || printer->device != device) {
    printer = std::make_unique<TPavPrinter>();
    printer->device = device;
    printer->data.GetPrintData().SetPrinterName(wxString::FromUTF8(device));
  }
  return *printer;
}

void ReleasePrinter() { printer.reset(); }

namespace {

// While printing, the main window may grow to a page's size; otherwise the
// toolkit's own limits apply.
void ApplySizeLimits() {
  wxWindow* frame = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
  if (frame) frame->SetMaxSize(printing ? wxSize(32000, 32000) : wxDefaultSize);
}

}  // namespace

int PrintingCount() { return printing; }

void BeginPrinting() {
  ++printing;
  ApplySizeLimits();
}

void EndPrinting() {
  if (printing > 0) --printing;
  ApplySizeLimits();
}
