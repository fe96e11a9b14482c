// The menu bar, accelerators, hint texts and tool bar of the main window, as
// data: the window builds its menus from it and the console lists it.
#pragma once
#include "core/command_ids.h"

// Keys of the accelerators (all virtual-key accelerators).
enum class TKey { None, F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12, Backspace, Delete, Insert, N, O, S };

constexpr unsigned kAltKey = 1;
constexpr unsigned kCtrlKey = 2;
constexpr unsigned kShiftKey = 4;

struct TAccelerator {
  unsigned modifiers;
  TKey key;  // TKey::None: no accelerator of the program's own
};

struct TMenuItem {
  TCommandId id;     // kNoCommand: a separator
  const char* text;  // the exact menu text, "\t" and the shown shortcut included
  TAccelerator accelerator;
  bool grayed;       // until the document window enables it
  const char* hint;  // status-bar text, "" when none
};

struct TMenuPopup {
  const char* title;
  const TMenuItem* items;
  int count;
};

// The popups of the menu bar, in order.
extern const TMenuPopup kMenuBar[];
extern const int kMenuPopupCount;

// The tool-bar buttons in order; kNoCommand is a separator.
extern const TCommandId kToolBarButtons[];
extern const int kToolBarButtonCount;

// The item with this id, or null.
const TMenuItem* FindMenuItem(int id);

// The hint text of a command, "" when it has none.
const char* MenuHint(int id);

// A command as a person types it at the terminal: its name (lower case,
// words joined by "-"), what follows the name ("CHEMIN"), and one line of
// French for "aide". Commands that act on the window's document have
// nothing to do at the terminal.
struct TCommandWord {
  TCommandId id;
  const char* name;
  const char* parameter;  // "" when the name stands alone
  bool windowOnly;
  const char* help;
};

// One for each menu item, in the order of the menus.
extern const TCommandWord kCommandWords[];
extern const int kCommandWordCount;

// The word of this command, or null.
const TCommandWord* FindCommandWord(int id);
