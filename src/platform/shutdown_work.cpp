#include "platform/interrupt.h"
#include "platform/shutdown_work.h"

namespace platform {
namespace {

constexpr int kMaxWork = 8;
void (*shutdownWork[kMaxWork])() = {};
int workCount = 0;
bool shutdownStarted = false;
bool unattended = false;  // ending on an interrupt or at exit
bool shutdownRunning = false;

}  // namespace

void AtShutdown(void (*work)()) {
  for (int i = 0; i < workCount; ++i)
    if (shutdownWork[i] == work) return;
  if (workCount < kMaxWork) shutdownWork[workCount++] = work;
}

void RunShutdown() {
  if (shutdownStarted) return;
  shutdownStarted = true;
  shutdownRunning = true;
  for (int i = 0; i < workCount; ++i) shutdownWork[i]();
  shutdownRunning = false;
}

void RunShutdownUnattended() {
  unattended = true;
  RunShutdown();
}

bool ShuttingDown() { return shutdownRunning && unattended; }

bool ShutdownRunning() { return shutdownRunning; }

}  // namespace platform
