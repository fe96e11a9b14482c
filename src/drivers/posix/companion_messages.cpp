#include "drivers/companion_messages.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "drivers/launcher.h"

namespace drivers {
namespace {

int messages[2] = {-1, -1};

}  // namespace

int WatchCompanionMessages() {
  if (messages[0] < 0) {
    if (pipe2(messages, O_CLOEXEC) != 0) return messages[0] = messages[1] = -1;
    fcntl(messages[0], F_SETFL, O_NONBLOCK);
    SendCompanionOutputTo(messages[1]);
  }
  return messages[0];
}

void ShowCompanionMessages() {
  char chunk[4096];
  ssize_t n;
  while ((n = read(messages[0], chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR))
    if (n > 0) ShowCompanionLines(chunk, static_cast<size_t>(n));
}

}  // namespace drivers
