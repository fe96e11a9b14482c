// Everything the program does from its start to its end once a front end is
// installed, shared by pavsdi and the benchmark that probes it.
#pragma once

// Every part registers the menu commands it handles; window and console
// dispatch through the same table. The window adds its own (the document
// window's, printing, about, exit).
void RegisterApplicationCommands();

// Registers every part's commands, converts the arguments, runs the entry
// and the shutdown work. `beforeEntry`, when given, runs just before the
// entry (the benchmark puts probes on the devices there).
int RunProgram(int argc, char** argv, void (*beforeEntry)());
