// Command id -> operation: the actions behind the command rows
// (core/command_rows.h), which the window's menus and accelerators and the
// console and terminal front ends all dispatch through. Each part of the
// program attaches the actions of the commands it handles; the rest of a
// command (its texts, keys, names) is its row's.
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
void ClearCommands();
