// Paths as the program writes them ("\orfeon\prv.tab", ".\PavSdi.ini") and
// where they are on this machine.
#pragma once
#include <string>

namespace platform {

// A leading "\" is the root of the drive: the directory named by
// PAVSDI_ROOT, or the user's home directory. ".\" is the current
// directory. In both, "\" separators become "/". Any other path is the
// user's own and is used as it is. The result is UTF-8 for the file system.
std::string MapPath(const char* programPath);

// The data directory "\orfeon" on this machine.
std::string DataDirectory();

}  // namespace platform
