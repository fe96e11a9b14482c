// The Windows half of terminal_ui.h, in a Windows console: the console's own
// line editing and history for commands (as in cmd), one key for an answer
// (ReadConsoleInputW), text written as wide characters (WriteConsoleW) so
// that accents show whatever the console's code page. Escape stops playing;
// keys typed while playing are dropped, never taken as the next answer.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/terminal_session.h"
#include "drivers/audio_cues.h"
#include "terminal/terminal_boxes.h"
#include "terminal/terminal_programs.h"
#include "terminal/terminal_ui.h"
#include "terminal/terminal_watch.h"
#include "formats/encoding.h"
#include "formats/wide_text.h"
#include "platform/interrupt.h"
#include "platform/interrupt_win.h"
#include "platform/messages.h"
#include "platform/platform.h"

namespace drivers {
namespace {

const char kAnswerPrompt[] = "(o)ui, (n)on, Échap = annuler ? ";

HANDLE Input() { return GetStdHandle(STD_INPUT_HANDLE); }
HANDLE Output() { return GetStdHandle(STD_OUTPUT_HANDLE); }

bool IsConsole(HANDLE handle) {
  DWORD mode;
  return GetConsoleMode(handle, &mode) != 0;
}

void Say(const std::string& utf8, bool endLine = true) {
  std::string text = endLine ? utf8 + "\n" : utf8;
  if (IsConsole(Output())) {
    std::wstring wide = formats::Widen(text);
    DWORD written;
    WriteConsoleW(Output(), wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    std::fputs(text.c_str(), stdout);
    std::fflush(stdout);
  }
}

// Waits for console input or an interrupt, and acts on the interrupt.
void WaitForInput() {
  HANDLE handles[2] = {Input(), static_cast<HANDLE>(platform::InterruptWakeEvent())};
  WaitForMultipleObjects(handles[1] ? 2 : 1, handles, FALSE, INFINITE);
  platform::CheckInterrupted();
}

// 6 for o, y and Enter (Oui is the default button), 7 for n, 2 for Escape;
// -1 for a key that answers nothing.
int AnswerFromKey(const KEY_EVENT_RECORD& key) {
  if (key.wVirtualKeyCode == VK_ESCAPE) return 2;
  if (key.wVirtualKeyCode == VK_RETURN) return 6;
  wchar_t c = static_cast<wchar_t>(std::towlower(key.uChar.UnicodeChar));
  return c == L'o' || c == L'y' ? 6 : c == L'n' ? 7 : -1;
}

int ReadAnswerKey() {
  EndKeyWatch();
  if (!IsConsole(Input())) {
    // Not a console: the first character of a line answers.
    char line[256];
    if (!std::fgets(line, sizeof line, stdin)) return 2;
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    return c == 'o' || c == 'y' || c == '\n' || c == '\r' ? 6 : c == 'n' ? 7 : 2;
  }
  for (;;) {
    WaitForInput();
    INPUT_RECORD record;
    DWORD read = 0;
    if (!ReadConsoleInputW(Input(), &record, 1, &read) || read == 0) return 2;
    if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) continue;
    if (int answer = AnswerFromKey(record.Event.KeyEvent); answer >= 0) return answer;
  }
}

class TerminalDialogs : public platform::Dialogs {
 public:
  int MessageBox(const char* text, const char* caption, unsigned type) override {
    bool question = type == 3;
    if (!question && PlayerStarted()) {
      WaitForPlayer();
      return 1;
    }
    for (const std::string& line : BoxLines(text, caption, question, platform::TerminalColumns(1))) Say(line);
    if (!question) return 1;
    Say(formats::Cp1252ToUtf8(kAnswerPrompt), false);
    int answer = ReadAnswerKey();
    Say(answer == 6 ? "oui" : answer == 7 ? "non" : "annuler");
    return answer;
  }
};

// A cue is heard, not read.
class TerminalCues : public platform::Sound {
 public:
  void PlayCue(const char* path) override { AudioCues().PlayCue(path); }
};

class ConsoleLines : public platform::LineInput {
 public:
  bool ReadLine(char* buffer, int size) override {
    if (size > 0) buffer[0] = 0;
    std::wstring line;
    if (IsConsole(Input())) {
      wchar_t chunk[512];
      while (line.empty() || line.back() != L'\n') {
        DWORD read = 0;
        if (!ReadConsoleW(Input(), chunk, 512, &read, nullptr)) return false;
        if (read == 0) {
          // Ctrl+C ends the read before its handler has run.
          WaitForSingleObject(static_cast<HANDLE>(platform::InterruptWakeEvent()), 200);
          platform::CheckInterrupted();
          return false;
        }
        line.append(chunk, read);
      }
      // Ctrl+Z then Enter ends the input, as in cmd.
      if (line[0] == L'\x1a') return false;
    } else {
      char chunk[512];
      std::string bytes;
      while (std::fgets(chunk, sizeof chunk, stdin)) {
        bytes += chunk;
        if (bytes.back() == '\n') break;
      }
      if (bytes.empty()) return false;
      line = formats::Widen(bytes);
    }
    while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) line.pop_back();
    std::string text = formats::Utf8ToCp1252(formats::Narrow(line.c_str(), line.size()));
    std::snprintf(buffer, static_cast<size_t>(size), "%s", text.c_str());
    return true;
  }
};

TerminalDialogs terminalDialogs;
TerminalCues terminalCues;
TerminalPrograms terminalPrograms;
ConsoleLines consoleLines;

}  // namespace

bool TerminalWanted() {
  const wchar_t* ui = _wgetenv(L"PAVSDI_UI");
  if (ui && std::wcscmp(ui, L"terminal") == 0) return true;
  if (ui && std::wcscmp(ui, L"console") == 0) return false;
  return IsConsole(Input()) && IsConsole(Output());
}

void InstallTerminal() {
  platform::Services s = platform::Get();
  s.dialogs = &terminalDialogs;
  s.sound = &terminalCues;
  s.programs = &terminalPrograms;
  s.input = &consoleLines;
  s.stopPoll = StopKeyPressed;
  platform::Install(s);
  SetApplicationRunner(RunTerminalSession);
}

}  // namespace drivers
