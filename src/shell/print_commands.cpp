#include "shell/print_commands.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdio>

#include <wx/dc.h>
#include <wx/dcgraph.h>
#include <wx/graphics.h>
#include <wx/printdlg.h>

#include "core/command_table.h"
#include "core/prompts.h"
#include "drivers/default_printer.h"
#include "platform/messages.h"
#include "shell/pav_preview_win.h"
#include "shell/pav_printer.h"
#include "shell/pav_printout.h"
#include "shell/pav_sdi_app.h"
#include "shell/pav_sdi_edit_file.h"
#include "shell/sdi_dec_frame.h"
#include "shell/wx_text.h"

namespace {

constexpr int kTitleSize = 260;
constexpr double kPointsPerInch = 72;
constexpr double kA4Width = 595.28, kA4Height = 841.89;

TSDIDecFrame* MainFrame() {
  auto* app = dynamic_cast<TPavSdiApp*>(wxTheApp);
  return app ? app->Frame() : nullptr;
}

// The window whose document is printed; without it (the console front end)
// the person is told why nothing happens.
TSDIDecFrame* PrintingFrame() {
  TSDIDecFrame* frame = MainFrame();
  if (!frame) platform::PrintForPerson("L'impression et l'aperçu ne se font que dans la fenêtre.");
  return frame;
}

wxString JobTitle(TSDIDecFrame* frame) { return frame->GetTitle().Left(kTitleSize - 1); }

void PrintCommand(const char*) {
  if (TSDIDecFrame* frame = PrintingFrame()) PrintDocument(wxGetActiveWindow() ? wxGetActiveWindow() : frame);
}

void PrintSetupCommand(const char*) {
  TSDIDecFrame* frame = PrintingFrame();
  if (!frame) return;
  TPavPrinter& printer = UsePrinter();
  wxPageSetupDialogData setup(printer.data.GetPrintData());
  wxPageSetupDialog dialog(frame, &setup);
  if (dialog.ShowModal() == wxID_OK) printer.data.SetPrintData(dialog.GetPageSetupDialogData().GetPrintData());
}

void PrintPreviewCommand(const char*) {
  TSDIDecFrame* frame = PrintingFrame();
  if (!frame) return;
  TPavPrinter& printer = UsePrinter();
  BeginPrinting();
  auto* preview = new TPavPreviewWin(frame, frame->Client(), printer, frame->GetTitle() + " (Preview)");
  preview->SetSize(frame->GetRect());
  preview->Show();
  frame->Hide();
  // The keys (Escape, Alt+C) reach the preview without a click.
  preview->Raise();
  preview->SetFocus();
  preview->RunModal();
  frame->SetSize(preview->GetRect());
  frame->Show();
  EndPrinting();
  if (frame->IsFrozen()) frame->Thaw();
  frame->Refresh();
  preview->Destroy();
}

}  // namespace

void RegisterPrintCommands() {
  RegisterCommand(kPrintCommand, PrintCommand, PrintCommandsEnabled);
  RegisterCommand(kPrintSetupCommand, PrintSetupCommand, PrintCommandsEnabled);
  RegisterCommand(kPrintPreviewCommand, PrintPreviewCommand, PrintCommandsEnabled);
}

// Nothing can be printed, set up or previewed without a default printer.
bool PrintCommandsEnabled() { return MainFrame() != nullptr && !drivers::DefaultPrinterName().empty(); }

void PrintDocument(wxWindow* parent) {
  TSDIDecFrame* frame = MainFrame();
  if (!frame) return;
  TPavPrinter& printer = UsePrinter();
  wxString title = JobTitle(frame);
  TPavPrintout printout(title, frame->Client());
  BeginPrinting();
  wxPrinter job(&printer.data);
  bool printed = job.Print(parent, &printout, true);
  EndPrinting();
  if (printed) {
    printer.data = job.GetPrintDialogData();
  } else if (wxPrinter::GetLastError() == wxPRINTER_ERROR) {
    char message[kTitleSize + 64];
    std::snprintf(message, sizeof message, "'%s' not printed. %s.", Cp1252(title).c_str(),
                  "Error encountered during print");
    ShowInfo(message, "Print Error");
  }
}

int PrintDocumentToPdf(const std::string& path, int linesPerPage) {
  TSDIDecFrame* frame = MainFrame();
  if (!frame) return 0;
  UsePrinter();
  TPavSdiEditFile* window = frame->Client();
  TPavPrintout printout(JobTitle(frame), window);
  wxSize screenPpi = wxGetDisplayPPI();
  double height = kA4Height;
  if (linesPerPage > 0) {
    // Measured as the page will draw: in screen pixels, a quarter line to spare.
    cairo_surface_t* probe = cairo_pdf_surface_create(nullptr, kA4Width, kA4Height);
    cairo_t* context = cairo_create(probe);
    {
      wxGCDC dc(wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(context));
      dc.SetUserScale(kPointsPerInch / screenPpi.x, kPointsPerInch / screenPpi.y);
      height = (linesPerPage + 0.25) * window->PrintLineHeight(dc) * kPointsPerInch / screenPpi.y;
    }
    cairo_destroy(context);
    cairo_surface_destroy(probe);
  }
  cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), kA4Width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return 0;
  }
  cairo_t* context = cairo_create(surface);
  int printed = 0;
  {
    wxGCDC dc(wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(context));
    printout.SetPPIScreen(screenPpi);
    printout.SetPPIPrinter(static_cast<int>(kPointsPerInch), static_cast<int>(kPointsPerInch));
    printout.SetPageSizePixels(static_cast<int>(kA4Width), static_cast<int>(height));
    printout.SetPaperRectPixels(wxRect(0, 0, static_cast<int>(kA4Width), static_cast<int>(height)));
    printout.SetPageSizeMM(210, static_cast<int>(height * 25.4 / kPointsPerInch));
    printout.SetDC(&dc);
    BeginPrinting();
    printout.OnPreparePrinting();
    int minPage, maxPage, fromPage, toPage;
    printout.GetPageInfo(&minPage, &maxPage, &fromPage, &toPage);
    printout.OnBeginPrinting();
    printout.OnBeginDocument(fromPage, toPage);
    for (int page = fromPage; page <= toPage && printout.HasPage(page); ++page) {
      printout.OnPrintPage(page);
      dc.GetGraphicsContext()->Flush();
      cairo_show_page(context);
      ++printed;
    }
    printout.OnEndDocument();
    printout.OnEndPrinting();
    EndPrinting();
  }
  cairo_destroy(context);
  cairo_surface_finish(surface);
  cairo_surface_destroy(surface);
  return printed;
}
