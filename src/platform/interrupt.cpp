#include "platform/interrupt.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "platform/shutdown_work.h"

namespace platform {
namespace {

volatile sig_atomic_t pendingSignal = 0;
int wakePipe[2] = {-1, -1};

void OnSignal(int sig) {
  if (pendingSignal != 0) {
    // Asked again: the clean end is taking too long.
    signal(sig, SIG_DFL);
    raise(sig);
    return;
  }
  pendingSignal = sig;
  if (wakePipe[1] >= 0) {
    int saved = errno;
    char byte = 1;
    [[maybe_unused]] ssize_t n = write(wakePipe[1], &byte, 1);
    errno = saved;
  }
}

}  // namespace

void InstallInterruptHandlers() {
  if (wakePipe[0] < 0 && pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe[0] = wakePipe[1] = -1;
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: a blocked read or sleep returns to check the flag
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  std::atexit(RunShutdownUnattended);
}

void CheckInterrupted() {
  if (pendingSignal == 0 || ShutdownRunning()) return;
  EndUnattended(128 + pendingSignal);
}

void EndUnattended(int status) {
  RunShutdownUnattended();
  _exit(status);
}

int InterruptWakeFd() { return wakePipe[0]; }

}  // namespace platform
