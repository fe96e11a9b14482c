// The terminal front end, for a person: boxes as short lines of French,
// questions answered with one key, silent cues, one line for a started
// program, commands by name with line editing. Scripts keep the console
// front end's line protocol (console_ui.h).
#pragma once

namespace drivers {

// True when PAVSDI_UI is "terminal", or when it is not "console", no
// display is there and standard input and output are a terminal.
bool TerminalWanted();

// Installs the terminal's back ends and its command loop as window mode.
void InstallTerminal();

}  // namespace drivers
