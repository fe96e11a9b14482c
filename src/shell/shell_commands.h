// The commands of the window's own parts: the about box and printing.
#pragma once

// Registers 2009 (about box), 24337, 24338 and 24340 (printing); without
// the window they do nothing. Also adds their steps to the window's test
// mode.
void RegisterShellCommands();
