#include "win32/keys_while_playing.h"

#include <windows.h>

namespace {

bool played = false;

// Takes the keys out of the thread's queue; true when Escape was among them.
bool DropTypedKeys() {
  bool escape = false;
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) escape = true;
  }
  return escape;
}

}  // namespace

bool EscapePressedWhilePlaying() {
  played = true;
  return DropTypedKeys();
}

void BetweenPlayings() {
  if (!played) return;
  played = false;
  DropTypedKeys();
}
