// The machine's clock on Windows: the performance counter, and waits on a
// high-resolution waitable timer (a plain one with the system's timer at
// 1 ms where that is missing), so a wait never keeps a core busy. An
// interrupt (Ctrl+C, the console closed) ends a wait at once.
#include <windows.h>
#include <timeapi.h>

#include <mutex>

#include "platform/interrupt.h"
#include "platform/interrupt_win.h"
#include "platform/platform.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace platform {
namespace {

// One timer per thread: two threads setting the same timer would each move
// the other's deadline.
class ThreadTimer {
 public:
  ThreadTimer() {
    handle = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (handle) return;
    // Older systems: the plain timer ticks as often as the system's timer.
    static std::once_flag finer;
    std::call_once(finer, [] { timeBeginPeriod(1); });
    handle = CreateWaitableTimerW(nullptr, TRUE, nullptr);
  }
  ~ThreadTimer() {
    if (handle) CloseHandle(handle);
  }
  HANDLE handle;
};

class WindowsClock : public Clock {
 public:
  void SleepMs(uint32_t ms) override { SleepUntilUs(NowUs() + uint64_t{ms} * 1000); }

  uint64_t NowUs() override {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<uint64_t>(counter.QuadPart / frequency_) * 1000000 +
           static_cast<uint64_t>(counter.QuadPart % frequency_) * 1000000 / static_cast<uint64_t>(frequency_);
  }

  void SleepUntilUs(uint64_t deadlineUs) override {
    for (uint64_t now = NowUs(); now < deadlineUs; now = NowUs()) {
      // Relative, in 100 ns units: the timer and the counter need not share
      // a time base.
      LARGE_INTEGER due;
      due.QuadPart = -static_cast<LONGLONG>((deadlineUs - now) * 10);
      thread_local ThreadTimer timer;
      if (!timer.handle || !SetWaitableTimer(timer.handle, &due, 0, nullptr, nullptr, FALSE)) {
        Sleep(static_cast<DWORD>((deadlineUs - now + 999) / 1000));
      } else {
        HANDLE handles[2] = {timer.handle, static_cast<HANDLE>(InterruptWakeEvent())};
        WaitForMultipleObjects(handles[1] ? 2 : 1, handles, FALSE, INFINITE);
      }
      CheckInterrupted();
    }
  }

 private:
  LONGLONG frequency_ = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
};

}  // namespace

Clock& SystemClock() {
  static WindowsClock clock;
  return clock;
}

}  // namespace platform
