// What a screen reader learns of a window beyond what the toolkit tells it.
#pragma once
#include <wx/string.h>
#include <wx/window.h>

// The name the reader says for the window (a scrolled text: for its text).
void SetAccessibleName(wxWindow* window, const wxString& name);

// The window is read as a message box: its name, then `text`.
void ReadAsAlert(wxWindow* window, const wxString& text);

// A box opened by the program, however long after the user's last key (a
// question after the music), is the user's next step: the window manager
// gives it the focus rather than take it for a window that steals it.
void FocusWhenShown(wxWindow* window);
