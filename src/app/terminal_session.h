// Window mode for a person at the terminal: a start-up line saying how to
// get help, the start-up, then commands by name or number until "quitter"
// or the end of the input.
#pragma once

// Returns the exit status (0).
int RunTerminalSession();
