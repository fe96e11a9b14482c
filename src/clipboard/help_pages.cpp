#include "clipboard/clipboard_commands.h"

#include "core/prompts.h"
#include "platform/platform.h"

namespace {

constexpr unsigned kInfoBox = 64;
constexpr int kShowMaximized = 3;

// The browser is the desktop's; a page that does not open is not reported.
void OpenPage(const char* command) {
  platform::Get().dialogs->MessageBox("", "Consultez la rubrique orfeon du site sonetra", kInfoBox);
  RunProgram(command, kShowMaximized);
}

}  // namespace

void ShowUsage() { OpenPage("start \\orfeon\\orfeon_melvane.html"); }

void ShowTutorial() { OpenPage("start \\orfeon\\tutoriel.html"); }
