#include "shell/window_front_end.h"

#include <cstdlib>
#include <vector>

#include <glib-unix.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/utils.h>

#include "app/application.h"
#include "drivers/audio_cues.h"
#include "drivers/launcher.h"
#include "platform/clipboard.h"
#include "platform/interrupt.h"
#include "platform/stop_request.h"
#include "shell/french_locale.h"
#include "shell/pav_sdi_app.h"
#include "shell/testing/test_script.h"
#include "shell/wx_clipboard.h"
#include "shell/wx_dialogs.h"
#include "shell/wx_file_dialogs.h"

// Last: its macros would upset the toolkit's headers.
#include <X11/Xlib.h>

namespace {

class TDesktopPrograms : public platform::Programs {
 public:
  void Exec(const char* commandLine, int) override { drivers::StartProgram(commandLine); }
};

TWxDialogs dialogs;
TWxFileDialogs fileDialogs;
TDesktopPrograms programs;

// While music plays no window message is processed, so Escape is read from
// the keyboard's state.
bool EscapeHeld() { return wxGetKeyState(WXK_ESCAPE); }

// A signal wakes every loop of the toolkit, the modal boxes' included.
gboolean OnInterrupt(gint fd, GIOCondition, gpointer) {
  char drained[16];
  while (read(fd, drained, sizeof drained) > 0) {
  }
  platform::CheckInterrupted();
  return G_SOURCE_CONTINUE;
}

// The display went away (its server ended, the session closed): the program
// ends as on a signal rather than at the toolkit's abrupt exit.
int OnDisplayLost(Display*) { platform::EndUnattended(1); }

int RunWindow() {
  int status = 0;
  if (wxTheApp->CallOnInit()) {
    status = wxTheApp->OnRun();
    wxTheApp->OnExit();
  }
  wxEntryCleanup();
  return status;
}

}  // namespace

bool InstallWindowFrontEnd(int argc, char** argv) {
  static std::vector<char*> arguments;
  arguments.assign(argv, argv + argc);
  arguments.push_back(nullptr);
  static int count = argc;
  // A display that cannot be opened leaves the console in place.
  wxLog::EnableLogging(false);
  auto* app = new TPavSdiApp;
  wxApp::SetInstance(app);
  bool started = wxEntryStart(count, arguments.data());
  wxLog::EnableLogging(true);
  if (!started) return false;
  XSetIOErrorHandler(OnDisplayLost);
  // Watched from here on: the boxes of the start-up come before the main loop.
  if (platform::InterruptWakeFd() >= 0) g_unix_fd_add(platform::InterruptWakeFd(), G_IO_IN, OnInterrupt, nullptr);
  UseFrenchLocale();
  platform::Services services = platform::Get();
  services.dialogs = &dialogs;
  services.sound = &drivers::AudioCues();
  services.programs = &programs;
  services.files = &fileDialogs;
  services.stopPoll = EscapeHeld;
  // A clipboard file the user chose (PAVSDI_CLIPBOARD) stays in use.
  const char* clipboardFile = std::getenv("PAVSDI_CLIPBOARD");
  if (!clipboardFile || !*clipboardFile) services.clipboard = &WxClipboard();
  // Under its test script, the window's services answer and log as the
  // script says, and the script runs once the main window is up.
  if (testscript::Open()) {
    testscript::WrapServices(services);
    app->SetWindowReadyHook(testscript::Start);
  }
  platform::Install(services);
  SetApplicationRunner(RunWindow);
  return true;
}
