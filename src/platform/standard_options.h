// The options every program of the package answers before its own
// arguments: --help (or -h) and --version print on standard output; any
// other option starting with "--" is refused.
#pragma once

namespace platform {

// Looks at the first argument only, where every program reads its own.
// True when the program must end now with *status (0 after the help or
// the version, 2 for an unknown option, said on standard error); false
// for any other argument, which the program handles as before. `usage` is
// the program's help, Windows-1252; `ownOptions` its own "--" options,
// ended by nullptr.
bool AnswerStandardOptions(int argc, char** argv, const char* name, const char* usage,
                           const char* const* ownOptions, int* status);

}  // namespace platform
