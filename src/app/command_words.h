// The commands by their French names, for a person at the terminal: a typed
// line read as a command, and the lines of "aide". Names and help come from
// the command rows (core/command_rows.h), so they follow the menus.
#pragma once
#include <string>
#include <vector>

struct TTypedCommand {
  enum Kind { kNothing, kHelp, kRun, kRefused };
  Kind kind;
  int id;                // kRun: the command; kHelp: its subject, 0 for the menus
  std::string argument;  // kRun: what followed the name or number
  std::string message;   // kRefused: why, in French
  int menu = -1;         // kHelp: the menu (index in Menus()) whose commands are asked
};

// Reads a line (Windows-1252): a command's name, an unambiguous beginning of
// it, or its number, then its parameter; "aide" or "?", alone, with a menu
// ("aide outils", "aide menu outils") or with a command. Case and accents do
// not matter, and the words of a name may be typed apart ("jouer gamme").
TTypedCommand ReadTypedCommand(const char* line);

// Subject 0: the menus, one short line each, and how to ask for more, so
// that the list fits a screen. Otherwise what that one command does.
std::vector<std::string> HelpLines(int id);

// The commands of one menu (name, key in the window, number, what it does),
// then those of the window only.
std::vector<std::string> MenuHelpLines(int menu);
