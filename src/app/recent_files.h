// The recent-files list: ".\PavSdi.ini" in the current directory, at most 4
// names, the latest first.
#pragma once

constexpr int kRecentFileCount = 4;
constexpr int kRecentNameSize = 260;

// Adds the name at the top (moving it there when already listed) and saves
// the list.
void SaveMenuChoice(const char* name);

// Number of names listed in the file now.
int RecentFileTotal();

// Copies entry `index` (0 = latest) into `destination` (size characters);
// false, and "" copied, when there is no such entry.
bool GetMenuText(int index, char* destination, int size);
