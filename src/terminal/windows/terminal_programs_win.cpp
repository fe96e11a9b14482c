// The Windows half of terminal_programs.h: a companion's end is waited for
// on its process handle; ended early, it is asked to end as launcher.h's
// EndProgram does, so that it writes its recordings.
#include "terminal/terminal_programs.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/data_files.h"
#include "drivers/launcher.h"
#include "formats/encoding.h"
#include "platform/interrupt.h"
#include "terminal/terminal_boxes.h"
#include "terminal/terminal_watch.h"
#include "terminal/windows/terminal_watch_win.h"

namespace drivers {
namespace {

enum class TPlayer { kNone, kStarted, kFailed };
TPlayer player = TPlayer::kNone;
HANDLE playerProcess = nullptr;  // while the player is waited for

void Say(const char* cp1252) { SayOnTerminal(formats::Cp1252ToUtf8(cp1252)); }

// False when the program could not be started; otherwise `process` is its
// handle (null when it has ended already).
bool StartWatched(const char* commandLine, HANDLE* process) {
  int pid = 0;
  if (!StartProgram(commandLine, &pid)) return false;
  *process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  return true;
}

// Waits for the program; true when a stop key ended it.
bool WaitFor(const char* commandLine, HANDLE process) {
  if (!process) return false;
  bool stopped = StopKeyBeforeEnd(process);
  if (stopped) EndProgram(commandLine);
  EndKeyWatch();
  CloseHandle(process);
  return stopped;
}

void EndPlayerAtShutdown() {
  if (!playerProcess) return;
  EndProgram(kMeasureProgram);
  CloseHandle(playerProcess);
  playerProcess = nullptr;
}

}  // namespace

void TerminalPrograms::Exec(const char* commandLine, int) {
  std::vector<std::string> words = ResolveCommandLine(commandLine);
  if (words.empty()) return;
  if (words[0] == kPageOpener) {
    bool opened = StartProgram(commandLine, nullptr, true);
    SayOnTerminal(ProgramLine(commandLine, opened ? TProgramStart::kStarted : TProgramStart::kFailed));
    return;
  }
  HANDLE process = nullptr;
  bool started = StartWatched(commandLine, &process);
  if (std::strcmp(commandLine, kMeasureProgram) == 0) {
    playerProcess = process;
    player = started ? TPlayer::kStarted : TPlayer::kFailed;
    platform::AtShutdown(EndPlayerAtShutdown);
    if (!started) SayOnTerminal(ProgramLine(commandLine, TProgramStart::kFailed));
    return;
  }
  SayOnTerminal(ProgramLine(commandLine, started ? TProgramStart::kStarted : TProgramStart::kFailed));
  if (WaitFor(commandLine, process)) Say("programme arrêté");
}

void TerminalPrograms::End(const char* commandLine) { EndProgram(commandLine); }

bool PlayerStarted() { return player != TPlayer::kNone; }

void WaitForPlayer() {
  TPlayer was = player;
  player = TPlayer::kNone;
  if (was != TPlayer::kStarted) return;
  Say("sonplay joue toute la tablature");
  Say("Échap arrête la lecture");
  bool stopped = WaitFor(kMeasureProgram, playerProcess);
  playerProcess = nullptr;
  Say(stopped ? "lecture arrêtée" : "lecture finie");
}

}  // namespace drivers
