#include "terminal/terminal_ui.h"

#include <langinfo.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/terminal_session.h"
#include "drivers/audio_cues.h"
#include "drivers/console_ui.h"
#include "terminal/line_editor.h"
#include "terminal/terminal_boxes.h"
#include "terminal/terminal_keys.h"
#include "terminal/terminal_programs.h"
#include "terminal/terminal_watch.h"
#include "formats/encoding.h"
#include "platform/messages.h"
#include "platform/platform.h"

namespace drivers {
namespace {

const char kAnswerPrompt[] = "(o)ui, (n)on, Échap = annuler ? ";

class TerminalDialogs : public platform::Dialogs {
 public:
  int MessageBox(const char* text, const char* caption, unsigned type) override {
    bool question = type == 3;
    if (!question && PlayerStarted()) {
      WaitForPlayer();
      return 1;
    }
    size_t width = platform::TerminalColumns(STDOUT_FILENO);
    for (const std::string& line : BoxLines(text, caption, question, width)) SayOnTerminal(line);
    if (!question) return 1;
    std::fputs(formats::Cp1252ToUtf8(kAnswerPrompt).c_str(), stdout);
    std::fflush(stdout);
    int answer = ReadAnswerKey();
    SayOnTerminal(answer == 6 ? "oui" : answer == 7 ? "non" : "annuler");
    return answer;
  }
};

// A cue is heard, not read.
class TerminalCues : public platform::Sound {
 public:
  void PlayCue(const char* path) override { AudioCues().PlayCue(path); }
};

TerminalDialogs terminalDialogs;
TerminalCues terminalCues;
TerminalPrograms terminalPrograms;
LineEditor lineEditor;

// The line editor reads characters in the terminal's encoding, UTF-8 as
// everywhere the program meets the outside.
void UseUtf8Characters() {
  if (std::setlocale(LC_CTYPE, "") && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return;
  std::setlocale(LC_CTYPE, "C.UTF-8");
}

}  // namespace

bool TerminalWanted() {
  const char* ui = std::getenv("PAVSDI_UI");
  if (ui && std::strcmp(ui, "terminal") == 0) return true;
  if (ui && std::strcmp(ui, "console") == 0) return false;
  return !DisplayThere() && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
}

void InstallTerminal() {
  UseUtf8Characters();
  KeepTerminalSettings();
  platform::Services s = platform::Get();
  s.dialogs = &terminalDialogs;
  s.sound = &terminalCues;
  s.programs = &terminalPrograms;
  s.input = &lineEditor;
  s.stopPoll = StopKeyPressed;
  platform::Install(s);
  SetApplicationRunner(RunTerminalSession);
}

}  // namespace drivers
