// The about box: dialog 22000 of the program's resources, its texts read
// from the program file's own version resource.
#pragma once
#include <windows.h>

// Modal over `owner`.
void ShowAboutBox(HWND owner);
