// The front end of command-line and terminal runs. It never loads the
// window's toolkit: when a display is used, the program becomes the window
// program installed beside it.
#pragma once

namespace drivers {

// With a display (and the terminal not asked for), replaces the program by
// the window program with the same arguments; when that cannot be done, or
// without a display, installs the system's services, the console front end
// and its commands.
void StartTerminalFrontEnd(char** argv);

}  // namespace drivers
