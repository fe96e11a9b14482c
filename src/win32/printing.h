// Printing the editor's text with the system's print dialog and GDI, its
// printer setup, and the print preview.
#pragma once
#include <windows.h>

// A printer is there to print on (the default one, or the one chosen).
bool PrinterThere();
void PrintDocument();
void SetUpPrinter();
// The printer chosen in the setup gives way to the system's default.
void ForgetChosenPrinter();
void ShowPrintPreview();

// The pages of the text on a device context of the printer: the lines of
// page `page` (1 on), drawn in the area `width` x `height` of the printer's
// pixels; the number of pages.
struct TPageLayout {
  HFONT font;
  int lineHeight;
  int linesPerPage;
  int pages;
};
// `printer` gives the font's size, `target` is drawn on (the same, or the
// preview's screen in the printer's units).
TPageLayout LayOutPages(HDC printer);
void DrawPage(HDC target, const TPageLayout& layout, int page);

// The printer chosen or the default one, as a new context; null when none.
HDC PrinterContext();
