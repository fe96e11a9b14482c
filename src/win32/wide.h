// The program's Windows-1252 texts and the system's UTF-16 ones, converted
// only here, at the window's edge.
#pragma once
#include <string>

#include <windows.h>

std::wstring Wide(const char* cp1252);
// Characters outside Windows-1252 become "?": the caller checks with
// FitsCp1252 where that matters (a file name).
std::string Cp1252(const wchar_t* wide);
bool FitsCp1252(const wchar_t* wide);
// A window's text in the program's characters.
std::string WindowText(HWND window);
