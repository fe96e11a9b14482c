// The console front end: every box, question, cue and started program is
// one line on standard output, answers and commands come from standard
// input. The line format is a contract that users' scripts rely on:
//   INFO<TAB>caption<TAB>text      ASK<TAB>caption<TAB>text
//   CUE<TAB>path                   RUN<TAB>command line<TAB>show mode
#pragma once
#include <string>

#include "platform/platform.h"

namespace drivers {

// A field in UTF-8 with "\" written "\\", line feed "\n", carriage return
// "\r" and tab "\t".
std::string EscapeField(const char* cp1252);

// 6 for o, oui, y, yes; 7 for n, non, no; 2 for anything else.
int AnswerFromLine(const char* line);

// True when the program must talk on the terminal: PAVSDI_UI is "console"
// or "terminal", or no display is there to open a window on.
bool ConsoleWanted();

// True when DISPLAY or WAYLAND_DISPLAY names a display.
bool DisplayThere();

// Installs the console back ends (with `sound` and `programs` chosen by the
// caller, or the console's own when null).
void InstallConsole(platform::Sound* cueSound = nullptr, platform::Programs* programs = nullptr);

// Prints the line of a cue; the sound itself is the caller's.
void PrintCueLine(const char* path);

}  // namespace drivers
