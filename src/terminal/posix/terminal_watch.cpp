#include "terminal/terminal_watch.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "platform/interrupt.h"

namespace drivers {
namespace {

constexpr unsigned char kEscape = 0x1B;
constexpr unsigned char kCtrlC = 0x03;
// The bytes of a function key follow its Escape at once.
constexpr int kKeySequenceMs = 30;

termios before;
bool watching = false;

bool Readable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, ms) > 0 && (p.revents & POLLIN);
}

bool StartWatching() {
  if (watching) return true;
  if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &before) != 0) return false;
  termios keys = before;
  // Ctrl+C becomes a key: it stops the music instead of ending the program.
  keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG);
  keys.c_cc[VMIN] = 1;
  keys.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &keys) != 0) return false;
  watching = true;
  platform::AtShutdown(EndKeyWatch);
  return true;
}

// Reads what was typed, true when it held a stop key. A function key (an
// arrow) also begins with Escape: the sequence that follows it is dropped.
bool TypedStopKey() {
  bool stop = false;
  unsigned char byte;
  while (Readable(STDIN_FILENO, 0) && read(STDIN_FILENO, &byte, 1) == 1) {
    if (byte == kCtrlC) stop = true;
    if (byte != kEscape) continue;
    unsigned char next = 0;
    bool sequence = Readable(STDIN_FILENO, kKeySequenceMs) && read(STDIN_FILENO, &next, 1) == 1 &&
                    (next == '[' || next == 'O');
    if (!sequence) {
      stop = true;
      continue;
    }
    // Up to its final byte: a letter or "~".
    while (Readable(STDIN_FILENO, kKeySequenceMs) && read(STDIN_FILENO, &byte, 1) == 1 && (byte < 0x40 || byte > 0x7E)) {
    }
  }
  return stop;
}

}  // namespace

bool StopKeyPressed() { return StartWatching() && TypedStopKey(); }

void EndKeyWatch() {
  if (!watching) return;
  tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
  watching = false;
}

bool StopKeyBefore(int fd) {
  bool keys = StartWatching();
  int wake = platform::InterruptWakeFd();
  for (;;) {
    pollfd p[3] = {{fd, POLLIN, 0}, {keys ? STDIN_FILENO : -1, POLLIN, 0}, {wake, POLLIN, 0}};
    if (poll(p, 3, -1) < 0) {
      if (errno != EINTR) return false;
      platform::CheckInterrupted();
      continue;
    }
    if (p[2].revents) {
      platform::CheckInterrupted();
      wake = -1;
    }
    if ((p[1].revents & POLLIN) && TypedStopKey()) return true;
    if (p[1].revents & (POLLHUP | POLLERR | POLLNVAL)) keys = false;
    if (p[0].revents) return false;
  }
}

}  // namespace drivers
