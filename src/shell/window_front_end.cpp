#include "shell/window_front_end.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <glib-unix.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include "app/application.h"
#include "app/file_commands.h"
#include "core/prompts.h"
#include "drivers/audio_cues.h"
#include "drivers/companion_messages.h"
#include "drivers/launcher.h"
#include "formats/encoding.h"
#include "platform/clipboard.h"
#include "platform/interrupt.h"
#include "platform/stop_request.h"
#include "shell/french_locale.h"
#include "shell/keys_while_playing.h"
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
  void Exec(const char* commandLine, int) override {
    if (drivers::StartProgram(commandLine)) return;
    // A page that nothing here opens: the user is told where it is.
    std::vector<std::string> words = drivers::ResolveCommandLine(commandLine);
    if (words.size() < 2 || words[0] != "xdg-open") return;
    std::string text = "aucun navigateur pour ouvrir la page ; elle est ici : " + formats::Utf8ToCp1252(words[1]);
    ShowInfo(text.c_str(), kProductCaption);
  }
  void End(const char* commandLine) override { drivers::EndProgram(commandLine); }
};

TWxDialogs dialogs;
TWxFileDialogs fileDialogs;
TDesktopPrograms programs;

// A signal wakes every loop of the toolkit, the modal boxes' included.
gboolean OnInterrupt(gint fd, GIOCondition, gpointer) {
  char drained[16];
  while (read(fd, drained, sizeof drained) > 0) {
  }
  platform::CheckInterrupted();
  return G_SOURCE_CONTINUE;
}

// A companion's box (its recording failed) is shown as the program's own.
gboolean OnCompanionMessages(gint, GIOCondition, gpointer) {
  drivers::ShowCompanionMessages();
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
  if (int companions = drivers::WatchCompanionMessages(); companions >= 0)
    g_unix_fd_add(companions, G_IO_IN, OnCompanionMessages, nullptr);
  UseFrenchLocale();
  platform::Services services = platform::Get();
  services.dialogs = &dialogs;
  services.sound = &drivers::AudioCues();
  services.programs = &programs;
  services.files = &fileDialogs;
  WatchKeysWhilePlaying();
  services.stopPoll = EscapePressedWhilePlaying;
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
