#include "shell/glyphs.h"

#include <wx/dcmemory.h>
#include <wx/image.h>

#include "core/command_ids.h"

namespace {

constexpr int kGlyphSize = 16;

void Page(wxDC& dc, int x, int y, int w, int h) {
  dc.SetBrush(*wxWHITE_BRUSH);
  dc.DrawRectangle(x, y, w, h);
  for (int line = y + 3; line < y + h - 2; line += 3) dc.DrawLine(x + 2, line, x + w - 2, line);
}

void Lens(wxDC& dc, int x, int y) {
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawCircle(x, y, 4);
  dc.DrawLine(x + 3, y + 3, x + 7, y + 7);
}

void Draw(wxDC& dc, int id) {
  dc.SetPen(wxPen(*wxBLACK, 1));
  switch (id) {
    case kNewCommand:  // new
      Page(dc, 3, 1, 10, 14);
      break;
    case kOpenCommand:  // open: a folder
      dc.SetBrush(wxBrush(wxColour(230, 190, 80)));
      dc.DrawRectangle(1, 5, 14, 9);
      dc.DrawRectangle(1, 3, 6, 3);
      break;
    case kSaveCommand:  // save: a disk
      dc.SetBrush(wxBrush(wxColour(60, 90, 170)));
      dc.DrawRectangle(1, 1, 14, 14);
      dc.SetBrush(*wxWHITE_BRUSH);
      dc.DrawRectangle(4, 1, 8, 5);
      break;
    case kCutCommand:  // cut: scissors
      dc.DrawLine(4, 1, 11, 10);
      dc.DrawLine(11, 1, 4, 10);
      dc.SetBrush(*wxTRANSPARENT_BRUSH);
      dc.DrawCircle(4, 12, 2);
      dc.DrawCircle(11, 12, 2);
      break;
    case kCopyCommand:  // copy: two pages
      Page(dc, 1, 1, 9, 11);
      Page(dc, 6, 4, 9, 11);
      break;
    case kPasteCommand:  // paste: a clipboard and a page
      dc.SetBrush(wxBrush(wxColour(170, 120, 60)));
      dc.DrawRectangle(1, 2, 10, 13);
      Page(dc, 7, 6, 8, 9);
      break;
    case kUndoCommand:  // undo: an arrow turning back
      dc.SetBrush(*wxTRANSPARENT_BRUSH);
      dc.DrawArc(12, 12, 4, 12, 8, 12);
      dc.DrawLine(4, 12, 2, 9);
      dc.DrawLine(4, 12, 7, 10);
      break;
    case kFindCommand:  // find
      Lens(dc, 6, 6);
      break;
    case kFindNextCommand:  // find next
      Lens(dc, 5, 5);
      dc.DrawLine(11, 3, 15, 3);
      dc.DrawLine(13, 1, 15, 3);
      dc.DrawLine(13, 5, 15, 3);
      break;
    case kPrintCommand:  // print: a printer
      Page(dc, 4, 1, 8, 6);
      dc.SetBrush(wxBrush(wxColour(120, 120, 120)));
      dc.DrawRectangle(1, 7, 14, 6);
      break;
    case kPrintPreviewCommand:  // preview: a page and a lens
      Page(dc, 1, 1, 10, 14);
      Lens(dc, 10, 9);
      break;
  }
}

// White is transparent.
template <typename Paint>
wxBitmap Render(int size, Paint paint) {
  wxBitmap bitmap(size, size, 32);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    paint(dc);
  }
  wxImage image = bitmap.ConvertToImage();
  image.SetMaskColour(255, 255, 255);
  return wxBitmap(image);
}

// A quaver on a staff.
void PaintIcon(wxDC& dc, int size) {
  dc.SetPen(wxPen(wxColour(40, 40, 120), 1));
  for (int i = 1; i <= 5; ++i) dc.DrawLine(0, size * i / 6, size, size * i / 6);
  dc.SetBrush(wxBrush(wxColour(40, 40, 120)));
  dc.SetPen(wxPen(wxColour(40, 40, 120), size / 16 + 1));
  int r = size / 7 + 1;
  int x = size / 3, y = size * 4 / 6;
  dc.DrawEllipse(x - r, y - r + 1, 2 * r + 1, 2 * r - 1);
  dc.DrawLine(x + r, y, x + r, size / 8);
  dc.DrawLine(x + r, size / 8, x + r + size / 4, size / 3);
}

}  // namespace

wxIcon ApplicationIcon(int size) {
  wxIcon icon;
  icon.CopyFromBitmap(Render(size, [size](wxDC& dc) { PaintIcon(dc, size); }));
  return icon;
}

wxBitmap ToolGlyph(int commandId) {
  return Render(kGlyphSize, [commandId](wxDC& dc) { Draw(dc, commandId); });
}
