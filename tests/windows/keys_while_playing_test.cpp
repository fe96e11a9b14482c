// The keys typed while music plays in the native window: they wait in the
// thread's queue, the stop poll takes them out and stops on an Escape among
// them, and none is left to answer the next box.
#include <windows.h>

#include <gtest/gtest.h>

#include "win32/keys_while_playing.h"

namespace {

void Type(WPARAM key) {
  PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, key, 0);
  PostThreadMessageW(GetCurrentThreadId(), WM_KEYUP, key, 0);
}

int KeysWaiting() {
  int count = 0;
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) ++count;
  return count;
}

TEST(KeysWhilePlaying, EscapeAmongTypedKeysStopsAndNoneIsLeftForTheNextBox) {
  struct Case {
    const char* name;
    WPARAM keys[3];
    bool stops;
  } cases[] = {
      {"a tap of Escape between letters", {'N', VK_ESCAPE, 'O'}, true},
      {"letters only", {'N', 'O', VK_RETURN}, false},
  };
  for (const Case& c : cases) {
    BetweenPlayings();
    KeysWaiting();
    for (WPARAM key : c.keys) Type(key);
    EXPECT_EQ(c.stops, EscapePressedWhilePlaying()) << c.name;
    EXPECT_EQ(0, KeysWaiting()) << c.name;
  }
  // Typed after the poll's last look, while the last note sounded: dropped
  // when the box opens.
  EscapePressedWhilePlaying();
  Type('N');
  BetweenPlayings();
  EXPECT_EQ(0, KeysWaiting());
  // With no music since, what is typed is the box's.
  Type('N');
  BetweenPlayings();
  EXPECT_EQ(2, KeysWaiting());
}

}  // namespace
