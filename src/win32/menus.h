// The menu bar and the accelerators of the main window, built from the
// application's menu table; the recent files in the "&Tabla" menu.
#pragma once
#include <windows.h>

// The ids of the recent-file items (the latest first).
constexpr int kRecentFileItem = 24700;

HMENU BuildMenuBar();
HACCEL BuildAccelerators();

// Before a popup opens: its items greyed or not as their commands allow,
// and, for the first popup, the recent files listed before "E&xit".
void PrepareMenu(HMENU popup, bool first);
