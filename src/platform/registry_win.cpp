#include "platform/registry.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "formats/encoding.h"
#include "formats/wide_text.h"

namespace platform {

bool ProgramFilePath(char* path, int size) {
  wchar_t wide[32768];
  DWORD n = GetModuleFileNameW(nullptr, wide, sizeof wide / sizeof wide[0]);
  if (n == 0 || n >= sizeof wide / sizeof wide[0]) return false;
  std::string utf8 = formats::Narrow(wide, n);
  // A name Windows-1252 cannot hold, or a cut one, would name another file.
  if (!formats::FitsCp1252(utf8)) return false;
  std::string text = formats::Utf8ToCp1252(utf8);
  if (size <= 0 || text.size() >= static_cast<size_t>(size)) return false;
  std::memcpy(path, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace platform
