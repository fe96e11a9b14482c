#include "platform/interrupt.h"

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace platform {
namespace {

volatile sig_atomic_t pendingSignal = 0;

constexpr int kMaxWork = 8;
void (*shutdownWork[kMaxWork])() = {};
int workCount = 0;
bool shutdownDone = false;

void OnSignal(int sig) { pendingSignal = sig; }

}  // namespace

void InstallInterruptHandlers() {
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: a blocked read or sleep returns to check the flag
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  std::atexit(RunShutdown);
}

void CheckInterrupted() {
  if (pendingSignal == 0) return;
  int sig = pendingSignal;
  RunShutdown();
  _exit(128 + sig);
}

void AtShutdown(void (*work)()) {
  for (int i = 0; i < workCount; ++i)
    if (shutdownWork[i] == work) return;
  if (workCount < kMaxWork) shutdownWork[workCount++] = work;
}

void RunShutdown() {
  if (shutdownDone) return;
  shutdownDone = true;
  for (int i = 0; i < workCount; ++i) shutdownWork[i]();
}

}  // namespace platform
