// Paths as the program writes them ("\orfeon\prv.tab", ".\PavSdi.ini") and
// where they are on this machine.
#pragma once
#include <string>

namespace platform {

// A leading "\" is the root of the drive (DriveRoot). ".\" is the current
// directory. In both, "\" separators become "/". Any other path is the
// user's own and is used as it is. The result is UTF-8 for the file system.
std::string MapPath(const char* programPath);

// The data directory "\orfeon" on this machine.
std::string DataDirectory();

// The root of the drive: the directory named by PAVSDI_ROOT, otherwise
// $XDG_DATA_HOME/pavsdi (by default ~/.local/share/pavsdi).
std::string DriveRoot();

// The directory of the running program's file; "" when unknown.
std::string ProgramDirectory();

// The template of a drive root that a fresh account starts from: the
// installed ../share/pavsdi beside the program's directory, or share/pavsdi
// inside it (the build tree); "" when neither holds a data directory.
std::string TemplateDirectory();

}  // namespace platform
