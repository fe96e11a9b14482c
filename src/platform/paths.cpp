#include "platform/paths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include "formats/encoding.h"

namespace platform {
namespace {

std::string DriveRoot() {
  if (const char* root = std::getenv("PAVSDI_ROOT"); root && *root) return root;
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

std::string Slashes(const char* rest) {
  std::string out;
  for (const char* p = rest; *p; ++p) out += (*p == '\\') ? '/' : *p;
  return out;
}

}  // namespace

std::string MapPath(const char* programPath) {
  std::string mapped;
  if (programPath[0] == '\\') {
    std::string root = DriveRoot();
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    mapped = (root == "/" ? std::string() : root) + Slashes(programPath);
  } else if (programPath[0] == '.' && programPath[1] == '\\') {
    mapped = "./" + Slashes(programPath + 2);
  } else {
    mapped = programPath;
  }
  return formats::Cp1252ToUtf8(mapped.c_str());
}

std::string DataDirectory() { return MapPath("\\orfeon"); }

}  // namespace platform
