#include "app/recent_files.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/working_state.h"
#include "formats/file_bytes.h"
#include "formats/file_lock.h"
#include "platform/paths.h"

namespace {

const char kRecentFilesPath[] = ".\\PavSdi.ini";
const char kSection[] = "[Recent File List]";

struct TRecentList {
  char names[kRecentFileCount][kRecentNameSize];
  int count;
};

// Entries are "File1=<name>" .. "File4=<name>" under the section; anything
// else in the file is ignored.
void Load(TRecentList& list) {
  list.count = 0;
  FILE* file = formats::OpenRegularFile(platform::MapPath(kRecentFilesPath));
  if (!file) return;
  char line[kRecentNameSize + 16];
  while (list.count < kRecentFileCount && std::fgets(line, sizeof line, file)) {
    line[std::strcspn(line, "\r\n")] = 0;
    if (std::strncmp(line, "File", 4) != 0 || line[4] < '1' || line[4] > '4' || line[5] != '=')
      continue;
    if (line[6] == 0) continue;
    CopyText(list.names[list.count++], line + 6);
  }
  std::fclose(file);
}

void Store(const TRecentList& list) {
  std::string text = std::string(kSection) + "\r\n";
  for (int i = 0; i < list.count; ++i) text += "File" + std::to_string(i + 1) + "=" + list.names[i] + "\r\n";
  formats::WriteFileBytes(platform::MapPath(kRecentFilesPath), text);
}

}  // namespace

void SaveMenuChoice(const char* name) {
  if (name[0] == 0) return;
  // Two windows in one directory share the list.
  formats::FileChangeLock lock(platform::MapPath(kRecentFilesPath));
  TRecentList list;
  Load(list);
  int found = list.count < kRecentFileCount ? list.count : kRecentFileCount - 1;
  for (int i = 0; i < list.count; ++i) {
    if (std::strcmp(list.names[i], name) == 0) {
      found = i;
      break;
    }
  }
  if (found == list.count) ++list.count;
  for (int i = found; i > 0; --i) CopyText(list.names[i], list.names[i - 1]);
  CopyText(list.names[0], name);
  Store(list);
}

int RecentFileTotal() {
  TRecentList list;
  Load(list);
  return list.count;
}

bool GetMenuText(int index, char* destination, int size) {
  TRecentList list;
  Load(list);
  bool listed = index >= 0 && index < list.count;
  CopyText(destination, size, listed ? list.names[index] : "");
  return listed;
}
