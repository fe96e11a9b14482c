#include "terminal/terminal_keys.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "terminal/terminal_watch.h"
#include "platform/interrupt.h"

namespace drivers {
namespace {

constexpr unsigned char kEscape = 0x1B;
// The bytes of a function key follow its Escape at once; a lone Escape is
// the key itself.
constexpr int kKeySequenceMs = 30;

termios atStart;
bool kept = false;
volatile bool promptOpen = false;

void PutTerminalBack() {
  if (kept) tcsetattr(STDIN_FILENO, TCSANOW, &atStart);
  if (!promptOpen) return;
  ssize_t ignored = write(STDOUT_FILENO, "\n", 1);
  (void)ignored;
}

bool MoreBytesWithin(int ms) {
  pollfd input{STDIN_FILENO, POLLIN, 0};
  return poll(&input, 1, ms) > 0;
}

// One key in raw mode: no echo, no Enter; Ctrl+C still interrupts.
int ReadRawAnswer() {
  termios raw = atStart;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  int answer = -1;
  unsigned char byte;
  while (answer < 0) {
    if (!ReadInputByte(&byte)) {
      answer = 2;
    } else if (byte == kEscape && MoreBytesWithin(kKeySequenceMs)) {
      while (MoreBytesWithin(kKeySequenceMs) && ReadInputByte(&byte)) {
      }
    } else {
      answer = AnswerFromKey(byte);
    }
  }
  tcsetattr(STDIN_FILENO, TCSANOW, &atStart);
  return answer;
}

int ReadLineAnswer() {
  unsigned char byte;
  int first = -1;
  while (ReadInputByte(&byte) && byte != '\n')
    if (first < 0) first = byte;
  if (first < 0) return AnswerFromKey('\n');
  int answer = AnswerFromKey(first);
  return answer < 0 ? 2 : answer;
}

}  // namespace

void KeepTerminalSettings() {
  kept = tcgetattr(STDIN_FILENO, &atStart) == 0;
  platform::AtShutdown(PutTerminalBack);
}

void SetPromptOpen(bool open) { promptOpen = open; }

bool ReadInputByte(unsigned char* byte) {
  for (;;) {
    // A signal that came before the read began must not leave it blocked.
    if (platform::WaitReadable(STDIN_FILENO) != 1) return false;
    ssize_t n = read(STDIN_FILENO, byte, 1);
    if (n == 1) return true;
    if (n < 0 && errno == EINTR) {
      platform::CheckInterrupted();
      continue;
    }
    return false;
  }
}

int AnswerFromKey(int key) {
  switch (key) {
    case 'o': case 'O': case 'y': case 'Y': case '\n': case '\r': return 6;
    case 'n': case 'N': return 7;
    case kEscape: return 2;
    default: return -1;
  }
}

int ReadAnswerKey() {
  EndKeyWatch();
  SetPromptOpen(true);
  int answer = kept ? ReadRawAnswer() : ReadLineAnswer();
  SetPromptOpen(false);
  return answer;
}

}  // namespace drivers
