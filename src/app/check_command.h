// "pavsdi --verifier FICHIER": the check of a tablature on the terminal.
#pragma once

// True when the arguments ask for a check.
bool WantsCheck(int argc, char** argv);

// Prints the report of the tablature named in argv[2] on standard output.
// Returns 0 when it holds no problem, 1 when it does, 2 when the file
// cannot be read.
int CheckFromCommandLine(int argc, char** argv);
