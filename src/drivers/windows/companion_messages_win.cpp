// The Windows half of companion_messages.h: an anonymous pipe, read only as
// far as it holds bytes (PeekNamedPipe), since its reads cannot be made
// non-blocking. The window polls it on a timer (a pipe is no waitable
// handle).
#include "drivers/companion_messages.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include "drivers/launcher.h"

namespace drivers {
namespace {

int reading = -1;

}  // namespace

int WatchCompanionMessages() {
  if (reading >= 0) return reading;
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, nullptr, 0)) return -1;
  reading = _open_osfhandle(reinterpret_cast<intptr_t>(read), _O_RDONLY | _O_BINARY);
  int writing = _open_osfhandle(reinterpret_cast<intptr_t>(write), _O_WRONLY | _O_BINARY);
  if (reading < 0 || writing < 0) {
    if (reading >= 0) _close(reading); else CloseHandle(read);
    if (writing >= 0) _close(writing); else CloseHandle(write);
    return reading = -1;
  }
  SendCompanionOutputTo(writing);
  return reading;
}

void ShowCompanionMessages() {
  if (reading < 0) return;
  auto pipe = reinterpret_cast<HANDLE>(_get_osfhandle(reading));
  char chunk[4096];
  DWORD waiting = 0, got = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0 &&
         ReadFile(pipe, chunk, waiting < sizeof chunk ? waiting : sizeof chunk, &got, nullptr) && got > 0)
    ShowCompanionLines(chunk, got);
}

}  // namespace drivers
