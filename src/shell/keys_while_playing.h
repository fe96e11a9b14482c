// The keyboard while music plays. The window handles no event then (the
// music plays on its one thread), so the X server's raw key events are read
// on a connection of their own: an Escape pressed between two looks counts,
// however short the press. The keys typed meanwhile are dropped when they
// reach the window, so that they never answer the next box unheard.
#pragma once

// Opens the watching connection on the window's display; false without
// raw key events (Escape is then looked at only while held).
bool WatchKeysWhilePlaying();

// The stop poll: true when Escape was pressed since the last look.
bool EscapePressedWhilePlaying();

// The music paused or ended (a command begins or ends, a box opens or
// closes): what was pressed until now is forgotten, and the keys typed
// while the music played never reach the window.
void BetweenPlayings();
