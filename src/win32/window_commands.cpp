#include "win32/window_commands.h"

#include <windows.h>

#include "core/command_table.h"
#include "win32/about_box.h"
#include "win32/main_frame.h"
#include "win32/printing.h"

namespace {

// Closing asks about unsaved changes first.
void ExitCommand(const char*) {
  if (MainWindow()) PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
}

void AboutCommand(const char*) { ShowAboutBox(MainWindow()); }

}  // namespace

void RegisterWindowCommands() {
  RegisterCommand(kExitCommand, ExitCommand);
  RegisterCommand(kAboutCommand, AboutCommand);
  RegisterCommand(kPrintCommand, [](const char*) { PrintDocument(); }, PrinterThere);
  RegisterCommand(kPrintSetupCommand, [](const char*) { SetUpPrinter(); }, PrinterThere);
  RegisterCommand(kPrintPreviewCommand, [](const char*) { ShowPrintPreview(); }, PrinterThere);
}
