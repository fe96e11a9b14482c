#include "core/command_rows.h"

namespace {

constexpr unsigned kSeparatorBefore = 1;
constexpr unsigned kGrayed = 2;
constexpr unsigned kWindowOnly = 4;

constexpr TAccelerator NoKey{0, TKey::None};
constexpr TAccelerator Key(TKey key) { return {0, key}; }
constexpr TAccelerator Alt(TKey key) { return {kAltKey, key}; }
constexpr TAccelerator Ctrl(TKey key) { return {kCtrlKey, key}; }
constexpr TAccelerator Shift(TKey key) { return {kShiftKey, key}; }

constexpr TCommandRow kRows[] = {
#define PAVSDI_COMMAND(constant, number, menu, text, accelerator, hint, name, parameter, help, flags) \
  {constant, menu, text, accelerator, hint, name, parameter, help, ((flags) & kSeparatorBefore) != 0,  \
   ((flags) & kGrayed) != 0, ((flags) & kWindowOnly) != 0},
#include "core/command_rows.def"
#undef PAVSDI_COMMAND
};

// Each menu's rows lie together, the menus in the order of the bar.
constexpr bool InMenuOrder() {
  if (kRows[0].menu != kTablaMenu) return false;
  for (const TCommandRow& row : std::span(kRows).subspan(1)) {
    int step = row.menu - (&row - 1)->menu;
    if (step != 0 && step != 1) return false;
  }
  return true;
}
static_assert(InMenuOrder(), "the rows of a menu go together, the menus in order");

constexpr std::span<const TCommandRow> RowsOf(TMenuId menu) {
  size_t first = 0;
  while (kRows[first].menu != menu) ++first;
  size_t end = first;
  while (end < std::size(kRows) && kRows[end].menu == menu) ++end;
  return std::span(kRows).subspan(first, end - first);
}

const TMenu kMenus[] = {
    {"&Tabla", "ouvrir une tablature, quitter", RowsOf(kTablaMenu)},
    {"&Edit", "motifs pris du presse-papier", RowsOf(kEditMenu)},
    {"&Rechercher", "dans la fenêtre seulement", RowsOf(kSearchMenu)},
    {"&Init", "tempo, instrument, volume, voix", RowsOf(kInitMenu)},
    {"&Harm", "gammes, accords, cadences", RowsOf(kHarmMenu)},
    {"&Outils", "jouer, mesures, lecture guidée", RowsOf(kOutilsMenu)},
    {"&Pratique", "vérifier, boucle, métronome", RowsOf(kPratiqueMenu)},
    {"&Aide", "version, usage, tutoriel", RowsOf(kAideMenu)},
};
static_assert(std::size(kMenus) == kAideMenu + 1, "a title for every menu");

}  // namespace

std::span<const TMenu> Menus() { return kMenus; }

std::span<const TCommandRow> CommandRows() { return kRows; }

const TCommandRow* FindCommandRow(int id) {
  for (const TCommandRow& row : kRows)
    if (row.id == id) return &row;
  return nullptr;
}

const char* MenuHint(int id) {
  const TCommandRow* row = FindCommandRow(id);
  return row ? row->hint : "";
}
