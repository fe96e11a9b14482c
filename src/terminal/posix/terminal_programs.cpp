#include "terminal/terminal_programs.h"

#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "core/data_files.h"
#include "drivers/console_ui.h"
#include "drivers/launcher.h"
#include "terminal/terminal_boxes.h"
#include "terminal/terminal_watch.h"
#include "formats/encoding.h"
#include "platform/interrupt.h"

namespace drivers {
namespace {

// How long a companion asked to end may take to write its recordings.
constexpr int kEndingMs = 5000;

enum class TPlayer { kNone, kStarted, kFailed };
TPlayer player = TPlayer::kNone;
int playerFd = -1;  // the player's process descriptor while it is waited for

// Process descriptors (Linux 5.3): a program's end can be polled, and no
// other process is signalled in its place once it has ended.
int PidFd(int pid) { return static_cast<int>(syscall(SYS_pidfd_open, pid, 0)); }
void Signal(int fd, int sig) { syscall(SYS_pidfd_send_signal, fd, sig, nullptr, 0); }

void Say(const char* cp1252) { SayOnTerminal(formats::Cp1252ToUtf8(cp1252)); }

// A signal meanwhile does not cut the wait short: the program ending with
// it still waits for the companion's recordings.
bool Ended(int fd, int ms) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    int n = poll(&p, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
    if (n >= 0 || errno != EINTR) return n > 0;
  }
}

// False when the program could not be started. Otherwise `fd` becomes
// readable when it ends; -1 when it has ended already.
bool StartWatched(const char* commandLine, int* fd) {
  int pid = 0;
  if (!StartProgram(commandLine, &pid)) return false;
  *fd = PidFd(pid);
  return true;
}

// Asks the program to end (it switches its notes off and writes its
// recordings), then waits until it has.
void End(int fd) {
  Signal(fd, SIGTERM);
  if (!Ended(fd, kEndingMs)) Signal(fd, SIGKILL);
}

// Waits for the program; true when a stop key ended it.
bool WaitFor(int fd) {
  if (fd < 0) return false;
  bool stopped = StopKeyBefore(fd);
  if (stopped) End(fd);
  EndKeyWatch();
  close(fd);
  return stopped;
}

void EndPlayerAtShutdown() {
  if (playerFd < 0) return;
  End(playerFd);
  close(playerFd);
  playerFd = -1;
}

}  // namespace

void TerminalPrograms::Exec(const char* commandLine, int) {
  std::vector<std::string> words = ResolveCommandLine(commandLine);
  if (words.empty()) return;
  if (words[0] == kPageOpener) {
    TProgramStart start = !DisplayThere() ? TProgramStart::kNoDisplay
                          : StartProgram(commandLine, nullptr, true) ? TProgramStart::kStarted
                                                                      : TProgramStart::kFailed;
    SayOnTerminal(ProgramLine(commandLine, start));
    return;
  }
  int fd = -1;
  bool started = StartWatched(commandLine, &fd);
  if (std::strcmp(commandLine, kMeasureProgram) == 0) {
    playerFd = fd;
    player = started ? TPlayer::kStarted : TPlayer::kFailed;
    platform::AtShutdown(EndPlayerAtShutdown);
    if (!started) SayOnTerminal(ProgramLine(commandLine, TProgramStart::kFailed));
    return;
  }
  SayOnTerminal(ProgramLine(commandLine, started ? TProgramStart::kStarted : TProgramStart::kFailed));
  if (WaitFor(fd)) Say("programme arrêté");
}

void TerminalPrograms::End(const char* commandLine) { EndProgram(commandLine); }

bool PlayerStarted() { return player != TPlayer::kNone; }

void WaitForPlayer() {
  TPlayer was = player;
  player = TPlayer::kNone;
  if (was != TPlayer::kStarted) return;
  Say("sonplay joue toute la tablature");
  Say("Échap arrête la lecture");
  bool stopped = WaitFor(playerFd);
  playerFd = -1;
  Say(stopped ? "lecture arrêtée" : "lecture finie");
}

}  // namespace drivers
