// The main window "Pavane environnement midi": menu bar, accelerators, tool
// bar, status bar and the editor as its client; every command goes through
// the application's command table.
#pragma once
#include <windows.h>

// The main window; null before it is built and after it is gone.
HWND MainWindow();

// Window mode: builds the main window (the start-up boxes come before it
// shows), registers the document type or takes it back as `argv` asks,
// and runs the messages until the window is closed; returns the exit
// status.
int RunMainFrame(int argc, const char* const* argv);
