// The Windows half of paths.h: "\orfeon\..." lies under PAVSDI_ROOT, else
// under %APPDATA%\PavSdi. Paths keep Windows' separators.
#include "platform/paths.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

#include "formats/encoding.h"
#include "formats/wide_text.h"

namespace platform {
namespace {

std::string Variable(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value ? formats::Narrow(value) : std::string();
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesW(formats::Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string RoamingAppData() {
  PWSTR folder = nullptr;
  std::string path;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder))) path = formats::Narrow(folder);
  CoTaskMemFree(folder);
  return path.empty() ? Variable(L"APPDATA") : path;
}

}  // namespace

std::string MapPath(const char* programPath) {
  std::string mapped;
  if (programPath[0] == '\\') {
    std::string root = formats::Utf8ToCp1252(DriveRoot());
    while (!root.empty() && (root.back() == '\\' || root.back() == '/')) root.pop_back();
    mapped = root + programPath;
  } else {
    mapped = programPath;
  }
  return formats::Cp1252ToUtf8(mapped.c_str());
}

std::string DataDirectory() { return MapPath("\\orfeon"); }

std::string DriveRoot() {
  if (std::string root = Variable(L"PAVSDI_ROOT"); !root.empty()) return root;
  return RoamingAppData() + "\\PavSdi";
}

std::string ProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return "";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::string utf8 = formats::Narrow(path.c_str(), path.size());
  return utf8.substr(0, utf8.find_last_of("\\/"));
}

std::string TemplateDirectory() {
  std::string program = ProgramDirectory();
  if (program.empty()) return "";
  for (const char* relative : {"\\share\\pavsdi", "\\..\\share\\pavsdi"})
    if (IsDirectory(program + relative + "\\orfeon")) return program + relative;
  return "";
}

}  // namespace platform
