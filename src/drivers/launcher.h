// Starts a companion program or opens a page, without waiting for it.
#pragma once
#include <string>
#include <vector>

namespace drivers {

// The program and its arguments for a command line as the program writes
// it: "\orfeon\X.exe" is the companion X installed with the program, else
// "<data dir>/X.exe" when that exists, else "<data dir>/X"; "start X" opens
// X with the desktop's opener (kPageOpener).
std::vector<std::string> ResolveCommandLine(const char* commandLine);

// The first word of a resolved command line that opens a page: the
// desktop's opener ("xdg-open"; "start" on Windows).
extern const char kPageOpener[];

// Starts it in the background; its standard output goes to standard error
// so that it never mixes with the console's lines. False when it could not
// be started. Nothing is reported either way.
bool StartProgram(const char* commandLine);

}  // namespace drivers
