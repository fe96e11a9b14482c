// The program's Windows-1252 texts and the window's strings.
#pragma once
#include <string>

#include <wx/string.h>

wxString Wx(const char* cp1252);
std::string Cp1252(const wxString& text);
