// pavsdiw.exe's front end: the machine's back ends, the system's boxes,
// cues, companion programs and file dialogs, the window's own commands, and
// the main window as the runner of window mode.
#pragma once

// `argv` in UTF-8 (platform::StartProcess), kept for the registration.
void InstallWin32FrontEnd(int argc, char** argv);
