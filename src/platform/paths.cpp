#include "platform/paths.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

#include "formats/encoding.h"

namespace platform {
namespace {

std::string HomeDirectory() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "";
}

bool IsDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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

std::string DriveRoot() {
  if (const char* root = std::getenv("PAVSDI_ROOT"); root && *root) return root;
  // A relative XDG_DATA_HOME is invalid and ignored, as the freedesktop
  // base-directory rules ask.
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') return std::string(data) + "/pavsdi";
  return HomeDirectory() + "/.local/share/pavsdi";
}

std::string ProgramDirectory() {
  char link[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", link, sizeof link);
  if (length <= 0 || length >= static_cast<ssize_t>(sizeof link)) return "";
  std::string path(link, static_cast<size_t>(length));
  return path.substr(0, path.rfind('/'));
}

std::string TemplateDirectory() {
  std::string program = ProgramDirectory();
  if (program.empty()) return "";
  for (const char* relative : {"/../share/pavsdi", "/share/pavsdi"})
    if (IsDirectory(program + relative + "/orfeon")) return program + relative;
  return "";
}

}  // namespace platform
