// The commands of the program by id, each named once with its number in
// its row (core/command_rows.def): the menus, accelerators, tool bar,
// console lines and every registration name them by these.
#pragma once

enum TCommandId : int {
  kNoCommand = 0,  // a separator in the tool bar
#define PAVSDI_COMMAND(constant, number, ...) constant = number,
#include "core/command_rows.def"
#undef PAVSDI_COMMAND
};
