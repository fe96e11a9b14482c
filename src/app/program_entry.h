// The program's own entry: window mode or command-line playing.
#pragma once

// argv in Windows-1252. Returns the exit status.
int ProgramEntry(int argc, char** argv);
