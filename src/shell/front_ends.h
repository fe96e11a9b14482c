// The front ends of the program: the machine's back ends, the terminal's,
// and the window's over them when a display is there.
#pragma once

// Installs the system's services and the console front end, registers the
// window's own commands, then starts the window unless the program must
// talk on the terminal.
void StartFrontEnds(int argc, char** argv);
