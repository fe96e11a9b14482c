// The Windows half of interrupt.h. Ctrl+C and Ctrl+Break, the console's
// closing, a logoff and a shutdown come to the console control handler, on
// a thread of their own: it raises the flag and wakes the waits, and the
// program ends cleanly at its next wait or read, as after a signal. Windows
// ends the process when the handler of a closing, a logoff or a shutdown
// returns, so that handler waits for the clean end, and does the work itself
// when the program does not come to it in time (blocked on a read).
// Windows has no SIGTERM: the program that started this one asks it to end
// through an event named after its process id (AskToEnd).
#include "platform/interrupt.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/interrupt_win.h"
#include "platform/shutdown_work.h"

namespace platform {
namespace {

// The exit status as after the matching signal: SIGINT, SIGHUP, SIGTERM.
constexpr LONG kInterruptStatus = 128 + 2;
constexpr LONG kClosedStatus = 128 + 1;
constexpr LONG kEndedStatus = 128 + 15;
// Windows gives a closing console about 5 s. A Ctrl+C repeated within the
// same time while the program ends is ignored, so that a recording is
// finished; one after it ends the program at once.
constexpr DWORD kCleanEndWaitMs = 3000;
ULONGLONG firstInterruptAt = 0;

volatile LONG pendingStatus = 0;
HANDLE wakeEvent = nullptr;
SRWLOCK endLock = SRWLOCK_INIT;

std::wstring EndRequestName(unsigned long processId) {
  return L"Local\\PavSdi.end." + std::to_wstring(processId);
}

DWORD WINAPI WaitForEndRequest(void* request) {
  WaitForSingleObject(static_cast<HANDLE>(request), INFINITE);
  if (InterlockedCompareExchange(&pendingStatus, kEndedStatus, 0) == 0) firstInterruptAt = GetTickCount64();
  SetEvent(wakeEvent);
  return 0;
}

bool WatchEndRequests() {
  HANDLE request = CreateEventW(nullptr, TRUE, FALSE, EndRequestName(GetCurrentProcessId()).c_str());
  if (!request) return false;
  HANDLE thread = CreateThread(nullptr, 0, WaitForEndRequest, request, 0, nullptr);
  if (!thread) return false;
  CloseHandle(thread);
  return true;
}

BOOL WINAPI OnControl(DWORD type) {
  LONG status = type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT ? kInterruptStatus
                : type == CTRL_CLOSE_EVENT                        ? kClosedStatus
                                                                  : kEndedStatus;
  // Asked again after the grace period: the clean end is taking too long;
  // the default handler ends the process.
  if (InterlockedCompareExchange(&pendingStatus, status, 0) != 0)
    return GetTickCount64() - firstInterruptAt < kCleanEndWaitMs;
  firstInterruptAt = GetTickCount64();
  SetEvent(wakeEvent);
  if (type == CTRL_C_EVENT || type == CTRL_BREAK_EVENT) return TRUE;
  Sleep(kCleanEndWaitMs);
  EndUnattended(status);
}

}  // namespace

void InstallInterruptHandlers() {
  if (!wakeEvent) wakeEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(OnControl, TRUE);
  static bool watched = WatchEndRequests();
  (void)watched;
  std::atexit(RunShutdownUnattended);
}

void CheckInterrupted() {
  if (pendingStatus == 0 || ShutdownRunning()) return;
  EndUnattended(pendingStatus);
}

void EndUnattended(int status) {
  // One thread does the work: the program's own or the handler's.
  AcquireSRWLockExclusive(&endLock);
  RunShutdownUnattended();
  std::fflush(nullptr);
  ExitProcess(static_cast<UINT>(status));
}

int InterruptWakeFd() { return -1; }

// Sleeps wait on the interrupt's event. A read is not waited for here: a
// console read returns on Ctrl+C by itself, and the handler ends the program
// that a pipe keeps waiting.
int WaitReadable(int fd, long long timeoutNs) {
  CheckInterrupted();
  if (fd >= 0) return 1;
  if (timeoutNs < 0) {
    WaitForSingleObject(wakeEvent ? wakeEvent : GetCurrentProcess(), INFINITE);
  } else {
    DWORD ms = static_cast<DWORD>((timeoutNs + 999999) / 1000000);
    if (wakeEvent) WaitForSingleObject(wakeEvent, ms); else Sleep(ms);
  }
  CheckInterrupted();
  return 0;
}

void* InterruptWakeEvent() { return wakeEvent; }

bool AskToEnd(unsigned long processId) {
  HANDLE request = OpenEventW(EVENT_MODIFY_STATE, FALSE, EndRequestName(processId).c_str());
  if (!request) return false;
  BOOL set = SetEvent(request);
  CloseHandle(request);
  return set != 0;
}

}  // namespace platform
