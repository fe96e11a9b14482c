#include "clipboard/clipboard_commands.h"

#include "core/data_files.h"
#include "core/prompts.h"
#include "platform/platform.h"

namespace {

// The browser is the desktop's; a page that does not open is not reported.
void OpenPage(const char* command) {
  platform::Get().dialogs->MessageBox("", "Consultez la rubrique orfeon du site sonetra", kInfoBox);
  RunProgram(command, kShowMaximized);
}

}  // namespace

void ShowUsage() { OpenPage(kUsagePage); }

void ShowTutorial() { OpenPage(kTutorialPage); }
