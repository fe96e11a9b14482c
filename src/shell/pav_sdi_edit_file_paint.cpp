// The document window drawing its text as pages for the printer.
#include <wx/dc.h>

#include "app/print_pages.h"
#include "shell/pav_printer.h"
#include "shell/pav_sdi_edit_file.h"

namespace {

constexpr int kLineSize = 255;
constexpr int kTabWidth = 8;

wxString ExpandTabs(const wxString& line) {
  wxString out;
  for (wxUniChar c : line) {
    if (c == '\t') out.append(kTabWidth - out.length() % kTabWidth, ' ');
    else out += c;
  }
  return out;
}

}  // namespace

wxFont TPavSdiEditFile::PrintFont() const {
  wxFont font = GetFont();
  if (font.IsOk()) return font;
  return wxFont(wxFontInfo(wxSize(0, 12)).FaceName("Arial"));
}

int TPavSdiEditFile::PrintLineHeight(wxDC& dc) const {
  dc.SetFont(PrintFont());
  wxFontMetrics metrics = dc.GetFontMetrics();
  return metrics.height > 0 ? metrics.height + metrics.externalLeading : 10;
}

void TPavSdiEditFile::Paint(wxDC& dc, const wxRect& rect) {
  TPavPrinter* printer = Printer();
  if (PrintingCount() == 0 || !printer || rect.width <= 0 || rect.height <= 0) return;
  int lineHeight = PrintLineHeight(dc);
  int perPage = LinesPerPage(rect.height, lineHeight);
  if (perPage == 0) return;
  long lines = GetNumberOfLines();
  printer->data.SetMinPage(1);
  printer->data.SetMaxPage(PageCount(lines, perPage));
  int from = printer->data.GetFromPage(), to = printer->data.GetToPage();
  if (from <= 0) from = 1;
  if (to <= 0) to = 1;
  for (int page = from; page <= to; ++page) {
    for (int i = 0; i < perPage; ++i) {
      long line = static_cast<long>(page - 1) * perPage + i;
      if (line >= lines) break;
      wxString text = GetLineText(line).Left(kLineSize - 1);
      dc.DrawText(ExpandTabs(text), rect.x, rect.y + i * lineHeight);
    }
  }
}
