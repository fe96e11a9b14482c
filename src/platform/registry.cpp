#include "platform/registry.h"

#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "formats/encoding.h"

namespace platform {
bool ProgramFilePath(char* path, int size) {
  char link[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", link, sizeof link);
  if (length <= 0 || length >= static_cast<ssize_t>(sizeof link)) return false;
  std::string text = formats::Utf8ToCp1252(std::string(link, static_cast<size_t>(length)));
  // A cut path would name another file.
  if (size <= 0 || text.size() >= static_cast<size_t>(size)) return false;
  std::memcpy(path, text.c_str(), text.size() + 1);
  return true;
}

}  // namespace platform
