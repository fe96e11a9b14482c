// Command id -> operation: the one table that the window's menus and
// accelerators and the console front end both dispatch through. Each part
// of the program registers the commands it handles.
#pragma once

// The argument is empty, or for a command that asks for a file in the
// window, the path the console user gave with it.
using TCommandFn = void (*)(const char* argument);

constexpr int kExitCommand = 24310;

// Later registration of the same id replaces the earlier one.
void RegisterCommand(int id, TCommandFn operation);
TCommandFn FindCommand(int id);
// Runs the command; false when no operation is registered for the id.
bool RunCommand(int id, const char* argument);
void ClearCommands();
