// The options every start of the program answers before anything else:
// --help, -h and --version, and a French refusal of an unknown "--" option.
#pragma once

// True when the first argument was one of them; `status` is then the exit
// status (0, or 2 for an unknown option).
bool AnswerProgramOptions(int argc, char** argv, int* status);
