// Command id -> operation: the one table that the window's menus and
// accelerators and the console front end both dispatch through. Each part
// of the program registers the commands it handles.
#pragma once
#include "core/command_ids.h"

// The argument is empty, or for a command that asks for a file in the
// window, the path the console user gave with it.
using TCommandFn = void (*)(const char* argument);
// Whether the command can act now (the window greys its item otherwise).
using TEnabledFn = bool (*)();

// Later registration of the same id replaces the earlier one. Without an
// enable check the command is always available.
void RegisterCommand(TCommandId id, TCommandFn operation, TEnabledFn enabled = nullptr);
TCommandFn FindCommand(int id);
// True when the command is registered with an enable check.
bool HasEnableCheck(int id);
// True when the command is registered and its enable check, if any, passes.
bool CommandEnabled(int id);
// Runs the command; false when no operation is registered for the id.
bool RunCommand(int id, const char* argument);
// How many commands have started so far: what happens under one number
// happens within one command.
unsigned CommandsStarted();
// The registered ids in order of registration; returns how many there are.
int RegisteredCommands(int* ids, int size);
void ClearCommands();
