// Starts a companion program or opens a page, without waiting for it.
#pragma once
#include <string>
#include <vector>

namespace drivers {

// The program and its arguments for a command line as the program writes
// it: "\orfeon\X.exe" is the companion X installed with the program, else
// "<data dir>/X.exe" when that exists, else "<data dir>/X"; "start X" opens
// X with the desktop's opener.
std::vector<std::string> ResolveCommandLine(const char* commandLine);

// Starts it in the background. A companion ends with the program (see
// StartChild); a page's opener is left to the desktop. Its standard output
// goes to standard error unless SendCompanionOutputTo said otherwise, or
// nowhere, with its errors, when `quiet`. False when it could not be
// started. Nothing is reported either way. The child's process id goes to
// `pid` when asked for.
bool StartProgram(const char* commandLine, int* pid = nullptr, bool quiet = false);

// Where the companions' standard output goes from now on: their boxes are
// lines of the script protocol there (the console passes them on as its
// own, the window shows them, see CompanionMessages).
void SendCompanionOutputTo(int fd);

}  // namespace drivers
