#include "posix_shims.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "formats/wide_text.h"

// "/tmp/x-XXXXXX" is made in the system's folder for temporary files.
char* mkdtemp(char* pattern) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const char* name = std::strrchr(pattern, '/');
  name = name ? name + 1 : pattern;
  static std::string made;
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    std::string tail(name);
    std::string unique = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64() + attempt);
    tail.replace(tail.find("XXXXXX"), 6, unique);
    made = formats::Narrow(folder) + tail;
    if (CreateDirectoryW(formats::Widen(made).c_str(), nullptr)) return made.data();
  }
  return nullptr;
}

int setenv(const char* name, const char* value, int) {
  return _wputenv_s(formats::Widen(name).c_str(), formats::Widen(value).c_str()) == 0 ? 0 : -1;
}

int unsetenv(const char* name) { return _wputenv_s(formats::Widen(name).c_str(), L"") == 0 ? 0 : -1; }
