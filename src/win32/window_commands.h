// The commands of the window's own parts: Exit, the about box and printing.
#pragma once

void RegisterWindowCommands();
