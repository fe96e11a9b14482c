// What a screen reader learns of a window beyond what the toolkit tells it.
#pragma once
#include <wx/string.h>
#include <wx/window.h>

// The name the reader says for the window (a scrolled text: for its text).
void SetAccessibleName(wxWindow* window, const wxString& name);

// The window is read as a message box: its name, then `text`.
void ReadAsAlert(wxWindow* window, const wxString& text);
