// Test-mode steps of the about box, printing and the preview:
//   dialogdump PATH  dialogclose          the modal dialog shown
//   printpdf PATH LINES                   print to PDF, LINES a page (0: A4)
//   paper landscape|portrait              the printer's orientation
//   previewdump PATH  previewcommand ID  previewkey [alt+]KEY  previewclose
// Logged: PRINTED<TAB>pages<TAB>default printer.
#pragma once
#include <string>

namespace testscript {

// True when the verb was one of these.
bool ShellSteps(const std::string& verb, const std::string& argument);

}  // namespace testscript
