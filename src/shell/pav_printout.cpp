#include "shell/pav_printout.h"

#include "app/print_pages.h"
#include "shell/pav_printer.h"
#include "shell/pav_sdi_edit_file.h"

TPavPrintout::TPavPrintout(const wxString& title, TPavSdiEditFile* window, bool scale)
    : wxPrintout(title), window_(window), scale_(scale) {}

wxRect TPavPrintout::ScreenPage() const {
  int pageWidth, pageHeight, screenX, screenY, printerX, printerY;
  GetPageSizePixels(&pageWidth, &pageHeight);
  GetPPIScreen(&screenX, &screenY);
  GetPPIPrinter(&printerX, &printerY);
  if (!scale_ || printerX <= 0 || printerY <= 0) return wxRect(0, 0, pageWidth, pageHeight);
  return wxRect(0, 0, wxMulDivInt32(pageWidth, screenX, printerX), wxMulDivInt32(pageHeight, screenY, printerY));
}

void TPavPrintout::MapDC(wxDC& dc) const {
  if (!scale_) return;
  int pageWidth, pageHeight;
  GetPageSizePixels(&pageWidth, &pageHeight);
  wxRect screen = ScreenPage();
  if (screen.width <= 0 || screen.height <= 0) return;
  dc.SetUserScale(double(pageWidth) / screen.width, double(pageHeight) / screen.height);
}

// Counted with the line height the window draws with, so that the pages
// offered hold every line drawn.
void TPavPrintout::GetPageInfo(int* minPage, int* maxPage, int* fromPage, int* toPage) {
  pages_ = 1;
  if (wxDC* dc = GetDC()) {
    double x, y;
    dc->GetUserScale(&x, &y);
    MapDC(*dc);
    int perPage = LinesPerPage(ScreenPage().height, window_->PrintLineHeight(*dc));
    pages_ = PageCount(window_->GetNumberOfLines(), perPage);
    dc->SetUserScale(x, y);
  }
  *minPage = *fromPage = 1;
  *maxPage = *toPage = pages_;
  if (TPavPrinter* printer = Printer()) {
    printer->data.SetMinPage(1);
    printer->data.SetMaxPage(pages_);
  }
}

bool TPavPrintout::HasPage(int page) {
  TPavPrinter* printer = Printer();
  if (!printer) return page >= 1 && page <= pages_;
  return page >= printer->data.GetMinPage() && page <= printer->data.GetMaxPage();
}

bool TPavPrintout::OnPrintPage(int page) {
  wxDC* dc = GetDC();
  TPavPrinter* printer = Printer();
  if (!dc || !printer) return false;
  double x, y;
  dc->GetUserScale(&x, &y);
  MapDC(*dc);
  int from = printer->data.GetFromPage(), to = printer->data.GetToPage();
  printer->data.SetFromPage(page);
  printer->data.SetToPage(page);
  window_->Paint(*dc, ScreenPage());
  printer->data.SetFromPage(from);
  printer->data.SetToPage(to);
  dc->SetUserScale(x, y);
  return true;
}
