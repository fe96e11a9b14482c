// The console front end's command loop: one command a line, the decimal id
// of a menu command, and for a command that opens a file in the window the
// path after a blank ("24332 /home/me/piece.tab"). 24310 or the end of the
// input ends the loop.
#pragma once

// Parses "<id>[ <argument>]"; false when the line does not start with a
// decimal number standing alone.
bool ParseCommandLine(const char* line, int* id, const char** argument);

// Returns the exit status (0).
int RunCommandLoop();
