// The Windows half of terminal_watch.h: while music plays the console gives
// key events one by one (ReadConsoleInputW), Ctrl+C among them instead of
// the interrupt, and neither echoes nor keeps a line.
#include "terminal/terminal_watch.h"

#include <windows.h>

#include "platform/interrupt.h"
#include "platform/interrupt_win.h"
#include "terminal/windows/terminal_watch_win.h"

namespace drivers {
namespace {

constexpr wchar_t kCtrlC = 0x03;

DWORD before = 0;
bool watching = false;

HANDLE Input() { return GetStdHandle(STD_INPUT_HANDLE); }

bool StartWatching() {
  if (watching) return true;
  if (!GetConsoleMode(Input(), &before)) return false;
  DWORD keys = before & ~static_cast<DWORD>(ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT);
  if (!SetConsoleMode(Input(), keys)) return false;
  watching = true;
  platform::AtShutdown(EndKeyWatch);
  return true;
}

// Reads the events waiting, true when one was Escape or Ctrl+C pressed.
bool TypedStopKey() {
  bool stop = false;
  DWORD waiting = 0;
  while (GetNumberOfConsoleInputEvents(Input(), &waiting) && waiting > 0) {
    INPUT_RECORD record;
    DWORD read = 0;
    if (!ReadConsoleInputW(Input(), &record, 1, &read) || read == 0) break;
    if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) continue;
    const KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    if (key.wVirtualKeyCode == VK_ESCAPE || key.uChar.UnicodeChar == kCtrlC) stop = true;
  }
  return stop;
}

}  // namespace

bool StopKeyPressed() { return StartWatching() && TypedStopKey(); }

void EndKeyWatch() {
  if (!watching) return;
  FlushConsoleInputBuffer(Input());
  SetConsoleMode(Input(), before);
  watching = false;
}

bool StopKeyBeforeEnd(void* process) {
  bool keys = StartWatching();
  HANDLE wake = static_cast<HANDLE>(platform::InterruptWakeEvent());
  for (;;) {
    HANDLE handles[3] = {static_cast<HANDLE>(process)};
    DWORD count = 1;
    if (keys) handles[count++] = Input();
    if (wake) handles[count++] = wake;
    DWORD which = WaitForMultipleObjects(count, handles, FALSE, INFINITE);
    if (which == WAIT_OBJECT_0) return false;
    if (which >= WAIT_OBJECT_0 + count) return false;
    HANDLE ready = handles[which - WAIT_OBJECT_0];
    if (ready == wake) {
      platform::CheckInterrupted();
      wake = nullptr;  // the shutdown work runs: only the end is waited for
    } else if (TypedStopKey()) {
      return true;
    }
  }
}

}  // namespace drivers
