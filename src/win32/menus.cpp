#include "win32/menus.h"

#include <cstdio>
#include <vector>

#include "app/recent_files.h"
#include "core/command_rows.h"
#include "core/command_table.h"
#include "win32/wide.h"

namespace {

WORD VirtualKey(TKey key) {
  switch (key) {
    case TKey::Backspace: return VK_BACK;
    case TKey::Delete: return VK_DELETE;
    case TKey::Insert: return VK_INSERT;
    case TKey::N: return 'N';
    case TKey::O: return 'O';
    case TKey::S: return 'S';
    case TKey::None: return 0;
    default: return static_cast<WORD>(VK_F1 + (static_cast<int>(key) - static_cast<int>(TKey::F1)));
  }
}

void RemoveRecentItems(HMENU popup) {
  for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) {
    UINT id = GetMenuItemID(popup, i);
    if (id >= kRecentFileItem && id < kRecentFileItem + kRecentFileCount) {
      DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
      // The separator that came with them.
      if (i < GetMenuItemCount(popup) && GetMenuItemID(popup, i) == 0 && i > 0 && GetMenuItemID(popup, i - 1) == 0)
        DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
    }
  }
}

// "&1 C:\...\piece.tab" items, then a separator, before E&xit.
void ListRecentFiles(HMENU popup) {
  RemoveRecentItems(popup);
  int exitAt = GetMenuItemCount(popup) - 1;
  while (exitAt >= 0 && GetMenuItemID(popup, exitAt) != kExitCommand) --exitAt;
  if (exitAt < 0) return;
  UINT at = static_cast<UINT>(exitAt);
  bool any = false;
  for (int i = 0; i < kRecentFileCount; ++i) {
    char name[kRecentNameSize];
    if (!GetMenuText(i, name, sizeof name)) break;
    char item[kRecentNameSize + 8];
    std::snprintf(item, sizeof item, "&%d %s", i + 1, name);
    InsertMenuW(popup, at++, MF_BYPOSITION | MF_STRING, kRecentFileItem + i, Wide(item).c_str());
    any = true;
  }
  if (any) InsertMenuW(popup, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

}  // namespace

HMENU BuildMenuBar() {
  HMENU bar = CreateMenu();
  for (const TMenu& menu : Menus()) {
    HMENU popup = CreatePopupMenu();
    for (const TCommandRow& row : menu.rows) {
      if (row.separatorBefore) AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(popup, MF_STRING | (row.grayed ? MF_GRAYED : 0), row.id, Wide(row.text).c_str());
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), Wide(menu.title).c_str());
  }
  return bar;
}

HACCEL BuildAccelerators() {
  std::vector<ACCEL> table;
  for (const TCommandRow& row : CommandRows()) {
    WORD key = VirtualKey(row.accelerator.key);
    if (key == 0) continue;
    BYTE flags = FVIRTKEY;
    if (row.accelerator.modifiers & kAltKey) flags |= FALT;
    if (row.accelerator.modifiers & kCtrlKey) flags |= FCONTROL;
    if (row.accelerator.modifiers & kShiftKey) flags |= FSHIFT;
    table.push_back(ACCEL{flags, key, static_cast<WORD>(row.id)});
  }
  return CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

void PrepareMenu(HMENU popup, bool first) {
  if (first) ListRecentFiles(popup);
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    UINT id = GetMenuItemID(popup, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;
    bool recent = id >= kRecentFileItem && id < kRecentFileItem + kRecentFileCount;
    EnableMenuItem(popup, id, MF_BYCOMMAND | (recent || CommandEnabled(static_cast<int>(id)) ? MF_ENABLED : MF_GRAYED));
  }
}
