// What the window draws with: the system's message font at the window's
// DPI, so that large fonts and high contrast apply as the user set them.
#pragma once
#include <windows.h>

// A new font the caller deletes.
HFONT MessageFont(HWND window);
