// The print commands of the main window: print, print setup and print
// preview, and printing to a PDF file without a dialog.
#pragma once
#include <string>

class wxWindow;

// Registers 24337, 24338 and 24340; they act only when the window is up.
void RegisterPrintCommands();
// The enabler of the three: the window is up and a default printer is set.
bool PrintCommandsEnabled();

// Prints the document window through the print dialog over `parent`.
void PrintDocument(wxWindow* parent);
// Prints the document window into a PDF file without a dialog, on A4
// paper, or on paper exactly `linesPerPage` lines high when not 0. Returns
// the number of pages printed, 0 on failure.
int PrintDocumentToPdf(const std::string& path, int linesPerPage);
