// The command rows as the front ends read them: the window builds its menu
// bar and accelerator table from Menus(), the terminal its names and "aide",
// the console its numbers. Plain data, no toolkit: any window can be built
// from it.
#pragma once
#include <span>

#include "core/command_ids.h"

// The popups of the menu bar, in order.
enum TMenuId { kTablaMenu, kEditMenu, kSearchMenu, kInitMenu, kHarmMenu, kOutilsMenu, kPratiqueMenu, kAideMenu };

// Keys of the accelerators (all virtual-key accelerators).
enum class TKey { None, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, Backspace, Delete, Insert, N, O, S };

constexpr unsigned kAltKey = 1;
constexpr unsigned kCtrlKey = 2;
constexpr unsigned kShiftKey = 4;

struct TAccelerator {
  unsigned modifiers;
  TKey key;  // TKey::None: no accelerator of the program's own
};

struct TCommandRow {
  TCommandId id;
  TMenuId menu;              // Menus()[menu] holds it
  const char* text;          // the exact menu text, "\t" and the shown key included
  TAccelerator accelerator;
  const char* hint;          // status-bar text, "" when none
  const char* name;          // at the terminal: lower case, words joined by "-"
  const char* parameter;     // what follows the name ("CHEMIN"), "" when it stands alone
  const char* help;          // one line of French for "aide"
  bool separatorBefore;      // a separator comes before it in its menu
  bool grayed;               // until the document window enables it
  bool windowOnly;           // acts on the window's document: nothing to do at the terminal
};

struct TMenu {
  const char* title;                  // "&Tabla"
  const char* summary;                // what it holds, short enough for a braille line
  std::span<const TCommandRow> rows;  // in menu order
};

// The menu bar: the popups in order (indexed by TMenuId), each with its
// rows, a separator before each row that says so.
std::span<const TMenu> Menus();

// Every command, in the order of the menus.
std::span<const TCommandRow> CommandRows();

// The row of this command, or null.
const TCommandRow* FindCommandRow(int id);

// The hint text of a command, "" when it has none.
const char* MenuHint(int id);
