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

// Starts it in the background. A companion ends with the program (see
// StartChild); a page's opener is left to the desktop. Its standard output
// goes to standard error unless SendCompanionOutputTo said otherwise, or
// nowhere, with its errors, when `quiet`. False when it could not be
// started, or for a page when no program but PavSdi would open it. Nothing is reported either way. The child's process id goes to
// `pid` when asked for.
bool StartProgram(const char* commandLine, int* pid = nullptr, bool quiet = false);

// Where the companions' standard output goes from now on: their boxes are
// lines of the script protocol there (the console passes them on as its
// own, the window shows them, see CompanionMessages).
void SendCompanionOutputTo(int fd);

// Ends what StartProgram started with this command line and still runs
// (SIGTERM, which lets a companion switch its notes off and write its
// recordings; SIGKILL when it does not end), and returns when it has ended.
void EndProgram(const char* commandLine);

// The program that opens a page: the desktop's default for HTML when that
// is not PavSdi (offered for text/plain, of which HTML is a kind, it would
// read the page as reading options), else the system's web browser; ""
// when there is none.
std::string PageOpener();

}  // namespace drivers
