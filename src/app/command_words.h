// The commands by their French names, for a person at the terminal: a typed
// line read as a command, and the lines of "aide". Names and help come from
// the menu table (kCommandWords), so they follow the menus.
#pragma once
#include <string>
#include <vector>

struct TTypedCommand {
  enum Kind { kNothing, kHelp, kRun, kRefused };
  Kind kind;
  int id;                // kRun: the command; kHelp: its subject, 0 for every command
  std::string argument;  // kRun: what followed the name or number
  std::string message;   // kRefused: why, in French
};

// Reads a line (Windows-1252): a command's name, an unambiguous beginning of
// it, or its number, then its parameter; "aide" or "?", alone or with a
// command. Case and accents do not matter, and the words of a name may be
// typed apart ("jouer gamme").
TTypedCommand ReadTypedCommand(const char* line);

// Subject 0: every command the terminal runs, menu by menu (name, key in the
// window, number, what it does), then those of the window only. Otherwise
// what that one command does.
std::vector<std::string> HelpLines(int id);
