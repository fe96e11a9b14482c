// The name a screen reader gives a control, set through the system's
// accessibility annotations (the label before it says the same to those
// that read labels).
#pragma once
#include <windows.h>

void SetAccessibleName(HWND control, const wchar_t* name);
