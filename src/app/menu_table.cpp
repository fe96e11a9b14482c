#include "app/menu_table.h"

namespace {

constexpr TAccelerator kNone{0, TKey::None};
constexpr TAccelerator Key(TKey key) { return {0, key}; }
constexpr TAccelerator Alt(TKey key) { return {kAltKey, key}; }
constexpr TAccelerator Ctrl(TKey key) { return {kCtrlKey, key}; }
constexpr TAccelerator Shift(TKey key) { return {kShiftKey, key}; }

constexpr TMenuItem kSeparator{0, "", kNone, false, ""};

const TMenuItem kTabla[] = {
    {24331, "&Nouveau", kNone, false, "Creates a new window"},
    {24332, "&Ouvrir...", kNone, false, "Opens a window"},
    kSeparator,
    {24333, "&Sauver", kNone, true, "Saves the active document"},
    {24334, "Enregistrer sous...", kNone, true, "Saves the active document with a new name"},
    kSeparator,
    {24340, "Print Pre&view...", kNone, true, "Displays full pages as read-only"},
    {24337, "&Print...", kNone, true, "Prints the active document"},
    {24338, "P&rint Setup...", kNone, true, "Sets print characteristics for the active document"},
    kSeparator,
    // Alt+F4 is the system's: closing the window, not an accelerator of ours.
    {24310, "E&xit\tAlt+F4", kNone, false, "Quits PavSdi and prompts to save the documents"},
};

const TMenuItem kEdit[] = {
    {24319, "Edit &note", kNone, false, ""},
    {24320, "Edit &rythme", kNone, false, "Edit operations"},
    {24321, "&Undo\tAlt+BkSp", Alt(TKey::Backspace), true, "Reverses the last operation"},
    kSeparator,
    {24322, "&Couper\tShift+Del", Shift(TKey::Delete), true,
     "Cuts the selection and puts it on the Clipboard"},
    {24323, "&Copier\tCtrl+Ins", Ctrl(TKey::Insert), true,
     "Copies the selection and puts it on the Clipboard"},
    {24324, "&Coller\tShift+Ins", Shift(TKey::Insert), true,
     "Inserts the Clipboard contents at the insertion point"},
    kSeparator,
    {24326, "Clear &All\tCtrl+Del", Ctrl(TKey::Delete), true, "Clears the active document"},
    // Delete is the edit control's own key.
    {24325, "&Delete\tDel", kNone, true, "Deletes the selection"},
};

const TMenuItem kSearch[] = {
    {24351, "&Chercher...", kNone, true, "Finds the specified text"},
    {24352, "&Remplacer...", kNone, true, "Finds the specified text and changes it"},
    {24353, "&Suivant", kNone, true, "Finds the next match"},
};

const TMenuItem kInit[] = {
    {400, "&Défaut\tCTRL+F1", Ctrl(TKey::F1), false, ""},
    {401, "&MidiInit\tALT+F1", Alt(TKey::F1), false, ""},
    {402, "&Tempo\tF12", Key(TKey::F12), false, ""},
    {403, "&Instrument\tALT+F9", Alt(TKey::F9), false, ""},
    {404, "&Volume", kNone, false, ""},
    {405, "&Voix\tALT+F5", Alt(TKey::F5), false, ""},
    {406, "Transp&o\tALT+F7", Alt(TKey::F7), false, ""},
    {407, "&Banque\tALT+F8", Alt(TKey::F8), false, ""},
};

const TMenuItem kHarm[] = {
    {500, "&Jouer Gamme\tF7", Key(TKey::F7), false, ""},
    {506, "Jouer A&ccord\tF8", Key(TKey::F8), false, ""},
    {501, "&Ton\tALT+F10", Alt(TKey::F10), false, ""},
    {502, "&Degré\tALT+F11", Alt(TKey::F11), false, ""},
    {503, "&Gamme\tF2", Key(TKey::F2), false, ""},
    {504, "&Accord\tF3", Key(TKey::F3), false, ""},
    {510, "&Cadence\tF4", Key(TKey::F4), false, ""},
    {508, "Ren&verser", kNone, false, ""},
    {507, "Répét&ition\tALT+F12", Alt(TKey::F12), false, ""},
    {505, "&Rythme\tF11", Key(TKey::F11), false, ""},
    {509, "&Presse-papier", kNone, false, ""},
};

const TMenuItem kOutils[] = {
    {600, "Jouer&Tout\tF5", Key(TKey::F5), false, ""},
    {611, "Jouer&PressePapier\tF6", Key(TKey::F6), false, ""},
    {601, "&JouerMesure", kNone, false, ""},
    {603, "&Précédent", kNone, false, ""},
    {602, "&Suivant", kNone, false, ""},
    {604, "&Armature", kNone, false, ""},
    {605, "&Conseil", kNone, false, ""},
    {606, "&Doigté", kNone, false, ""},
    {607, "&Harmonie", kNone, false, ""},
    {608, "&Mesure", kNone, false, ""},
    {609, "&Nuance", kNone, false, ""},
    {610, "&Parole", kNone, false, ""},
};

const TMenuItem kAide[] = {
    {2009, "&A propos...", kNone, false, "About the PavSdi application"},
    {2010, "&Usage", kNone, false, ""},
    {2011, "&Tutoriel\tF1", Key(TKey::F1), false, ""},
};

template <int N>
constexpr TMenuPopup Popup(const char* title, const TMenuItem (&items)[N]) {
  return {title, items, N};
}

}  // namespace

const TMenuPopup kMenuBar[] = {
    Popup("&Tabla", kTabla), Popup("&Edit", kEdit),     Popup("&Rechercher", kSearch),
    Popup("&Init", kInit),   Popup("&Harm", kHarm),     Popup("&Outils", kOutils),
    Popup("&Aide", kAide),
};
const int kMenuPopupCount = sizeof kMenuBar / sizeof kMenuBar[0];

const int kToolBarButtons[] = {24331, 24332, 24333, 0, 24322, 24323, 24324, 0,    24321,
                               0,     24351, 24353, 0, 24337, 24340};
const int kToolBarButtonCount = sizeof kToolBarButtons / sizeof kToolBarButtons[0];

const TMenuItem* FindMenuItem(int id) {
  if (id == 0) return nullptr;
  for (const TMenuPopup& popup : kMenuBar)
    for (int i = 0; i < popup.count; ++i)
      if (popup.items[i].id == id) return &popup.items[i];
  return nullptr;
}

const char* MenuHint(int id) {
  const TMenuItem* item = FindMenuItem(id);
  return item ? item->hint : "";
}
