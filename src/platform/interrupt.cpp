#include "platform/interrupt.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "platform/shutdown_work.h"

namespace platform {
namespace {

volatile sig_atomic_t pendingSignal = 0;
int wakePipe[2] = {-1, -1};

// Long enough for the shutdown work (the tail of a recording, its flush to
// disk), short enough for a user who insists.
constexpr long kGraceNs = 3'000'000'000L;
timespec firstSignalAt{};

long NsSince(const timespec& then) {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (now.tv_sec - then.tv_sec) * 1'000'000'000L + (now.tv_nsec - then.tv_nsec);
}

void OnSignal(int sig) {
  int saved = errno;
  if (pendingSignal != 0) {
    // Asked again after the grace period: the clean end is taking too long.
    if (NsSince(firstSignalAt) >= kGraceNs) {
      signal(sig, SIG_DFL);
      raise(sig);
    }
    errno = saved;
    return;
  }
  clock_gettime(CLOCK_MONOTONIC, &firstSignalAt);
  pendingSignal = sig;
  if (wakePipe[1] >= 0) {
    char byte = 1;
    [[maybe_unused]] ssize_t n = write(wakePipe[1], &byte, 1);
  }
  errno = saved;
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

int WaitReadable(int fd, long long timeoutNs) {
  timespec start;
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    CheckInterrupted();
    bool signalled = pendingSignal != 0;  // only during the shutdown work
    if (signalled && fd >= 0) return -1;
    timespec left{};
    if (timeoutNs >= 0) {
      long long rest = timeoutNs - NsSince(start);
      if (rest <= 0) return 0;
      left = {static_cast<time_t>(rest / 1'000'000'000L), static_cast<long>(rest % 1'000'000'000L)};
    }
    pollfd fds[2] = {{fd, POLLIN, 0}, {signalled ? -1 : wakePipe[0], POLLIN, 0}};
    int ready = ppoll(fds, 2, timeoutNs >= 0 ? &left : nullptr, nullptr);
    if (ready < 0 && errno != EINTR) return -1;
    // Hang-up and errors too: the read that follows tells which.
    if (ready > 0 && fd >= 0 && fds[0].revents != 0) return 1;
  }
}

}  // namespace platform
