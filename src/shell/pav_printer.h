// The printer object shared by the print commands and the printing count
// (nonzero exactly while a print job or a preview runs).
#pragma once
#include <string>

#include <wx/cmndata.h>

struct TPavPrinter {
  wxPrintDialogData data;  // paper, orientation, page range, pages to print
  std::string device;      // the default printer it was made for
};

// The printer, or null before its first use.
TPavPrinter* Printer();
// The printer, made for the current default printer on first use and made
// again when the default printer has changed since.
TPavPrinter& UsePrinter();
// Releases the printer (at the end of the application).
void ReleasePrinter();

int PrintingCount();
void BeginPrinting();
void EndPrinting();
