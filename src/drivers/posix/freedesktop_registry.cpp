#include "drivers/freedesktop_registry.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "drivers/program_icons.h"
#include "formats/document_text.h"
#include "formats/encoding.h"
#include "formats/file_bytes.h"
#include "formats/file_lock.h"
#include "platform/paths.h"

namespace drivers {
namespace {

namespace fs = std::filesystem;

const char kIconKey[] = "\\DefaultIcon";
// An extension's "Open with" offers, beside its default.
const char kOpenWithKey[] = "\\OpenWithProgids";
const char kAddedGroup[] = "[Added Associations]";
// The entry an installed program comes with (share/applications).
const char kInstalledEntry[] = "org.pavsdi.PavSdi.desktop";
// What the types of our extensions are called when the MIME database does
// not know them (no shared-mime-info, or our package not installed).
const char* const kKnownTypes[][2] = {{"*.txt", "text/plain"}, {"*.tab", "text/x-pavsdi-tablature"}};

std::string BaseDirectory(const char* variable, const char* underHome) {
  const char* set = std::getenv(variable);
  if (set && set[0] == '/') return set;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + underHome;
}

std::string DataHome() { return BaseDirectory("XDG_DATA_HOME", "/.local/share"); }
std::string ConfigHome() { return BaseDirectory("XDG_CONFIG_HOME", "/.config"); }

std::string EntryPath(const std::string& name) { return DataHome() + "/applications/" + name + ".desktop"; }
std::string IconPath(const std::string& name) {
  return DataHome() + "/icons/hicolor/scalable/apps/" + name + ".svg";
}
std::string MimeAppsPath() { return ConfigHome() + "/mimeapps.list"; }
// The defaults our associations replaced, one "type=value" a line.
std::string ReplacedPath() { return ConfigHome() + "/pavsdi/replaced-defaults.list"; }

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Run from an installed prefix, the program's own desktop entry is the
// installed one, and nothing is written in its place.
bool Installed() {
  std::string directory = platform::ProgramDirectory();
  std::error_code error;
  return !directory.empty() &&
         fs::exists(directory + "/../" + "share/applications/" + kInstalledEntry, error);
}

std::string DesktopId(const std::string& className) {
  return Installed() ? std::string(kInstalledEntry) : className + ".desktop";
}

std::string ReadFile(const std::string& path) {
  std::string bytes;
  return formats::ReadFileBytes(path, &bytes) ? bytes : std::string();
}

// A failed write leaves the old file.
bool WriteFile(const std::string& path, const std::string& bytes) {
  std::error_code error;
  fs::create_directories(fs::path(path).parent_path(), error);
  return formats::WriteFileBytes(path, bytes);
}

bool RemoveFile(const std::string& path) {
  std::error_code error;
  fs::remove(path, error);
  return !error;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// An Exec key's program: quoted when it holds a reserved character, then
// escaped as every desktop-entry string is.
std::string ExecValue(const std::string& program) {
  std::string quoted = program;
  if (program.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos) {
    quoted = "\"";
    for (char c : program) {
      if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
      quoted += c;
    }
    quoted += "\"";
  }
  std::string escaped;
  for (char c : quoted) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return escaped;
}

// "file,1": the file and icon 1 of it; without an index icon 0.
void SplitIcon(const std::string& value, std::string* file, int* index) {
  *file = value;
  *index = 0;
  size_t comma = value.rfind(',');
  if (comma == std::string::npos || comma + 1 == value.size()) return;
  for (size_t i = comma + 1; i < value.size(); ++i)
    if (value[i] < '0' || value[i] > '9') return;
  *file = value.substr(0, comma);
  *index = std::atoi(value.c_str() + comma + 1);
}

bool WriteEntry(const std::string& name, const std::string& program) {
  std::string shown = name.substr(0, name.find('.'));
  std::string entry = "[Desktop Entry]\nType=Application\nName=" + shown + "\nExec=" + ExecValue(program) +
                      " %f\nIcon=" + name + "\nTerminal=false\n";
  if (!EndsWith(name, ".Application")) entry += std::string("NoDisplay=true\nMimeType=") + kKnownTypes[1][1] + ";text/plain;\n";
  return WriteFile(EntryPath(name), entry);
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The list of the replaced defaults, as type -> value lines.
bool FindReplaced(const std::string& mimeType, std::string* value) {
  for (const std::string& line : Lines(ReadFile(ReplacedPath())))
    if (line.rfind(mimeType + "=", 0) == 0) {
      *value = line.substr(mimeType.size() + 1);
      return true;
    }
  return false;
}

bool StoreReplaced(const std::string& mimeType, const std::string* value) {
  std::vector<std::string> kept;
  for (const std::string& line : Lines(ReadFile(ReplacedPath())))
    if (line.rfind(mimeType + "=", 0) != 0) kept.push_back(line);
  if (value) kept.push_back(mimeType + "=" + *value);
  if (kept.empty()) return RemoveFile(ReplacedPath());
  return WriteFile(ReplacedPath(), Joined(kept));
}

std::string FirstEntry(const std::string& value) { return value.substr(0, value.find(';')); }

// The entries of a list value other than `ours`, each ended by ';'.
std::string Without(const std::string& value, const std::string& ours) {
  std::string rest;
  std::istringstream entries(value);
  std::string entry;
  while (std::getline(entries, entry, ';'))
    if (!entry.empty() && entry != ours) rest += entry + ";";
  return rest;
}

// The record of an "Open with" offer we added, in the list of the replaced
// defaults: an offer the user had made before stays at removal.
std::string AddedRecord(const std::string& mimeType) { return "+" + mimeType; }

bool AddOffer(const std::string& mimeType, const std::string& ours) {
  std::string list = ReadFile(MimeAppsPath());
  std::string current;
  DefaultApplication(list, mimeType, &current, kAddedGroup);
  if (Without(current, ours) != Without(current, "")) return true;
  std::string none;
  if (!StoreReplaced(AddedRecord(mimeType), &none)) return false;
  return WriteFile(MimeAppsPath(), SetDefaultApplication(list, mimeType, Without(current, "") + ours + ";", kAddedGroup));
}

bool RemoveOffer(const std::string& mimeType, const std::string& ours) {
  std::string none;
  if (!FindReplaced(AddedRecord(mimeType), &none)) return true;
  std::string list = ReadFile(MimeAppsPath());
  std::string current;
  if (DefaultApplication(list, mimeType, &current, kAddedGroup)) {
    std::string rest = Without(current, ours);
    if (rest != current && !WriteFile(MimeAppsPath(), SetDefaultApplication(list, mimeType, rest, kAddedGroup)))
      return false;
  }
  return StoreReplaced(AddedRecord(mimeType), nullptr);
}

bool SetExtension(const std::string& extension, const std::string& className) {
  std::string mimeType = MimeTypeOfExtension(extension.c_str());
  if (mimeType.empty()) return false;
  std::string ours = DesktopId(className);
  std::string list = ReadFile(MimeAppsPath());
  std::string current;
  bool had = DefaultApplication(list, mimeType, &current);
  if (FirstEntry(current) != ours) {
    std::string previous = had ? current : std::string();
    if (!StoreReplaced(mimeType, &previous)) return false;
  }
  return WriteFile(MimeAppsPath(), SetDefaultApplication(list, mimeType, ours + ";"));
}

bool RemoveExtension(const std::string& extension, const std::string& className) {
  std::string mimeType = MimeTypeOfExtension(extension.c_str());
  if (mimeType.empty()) return false;
  std::string ours = DesktopId(className);
  std::string list = ReadFile(MimeAppsPath());
  std::string current, previous;
  bool replaced = FindReplaced(mimeType, &previous);
  if (DefaultApplication(list, mimeType, &current)) {
    std::string rest = Without(current, ours);
    // Still ours first: what we replaced comes back. Otherwise the user
    // chose since, and only our name leaves the list.
    std::string value = FirstEntry(current) == ours && replaced ? previous : rest;
    if (value != current && !WriteFile(MimeAppsPath(), SetDefaultApplication(list, mimeType, value)))
      return false;
  }
  return !replaced || StoreReplaced(mimeType, nullptr);
}

}  // namespace

std::string MimeTypeOfExtension(const char* extension) {
  std::string wanted = "*" + Lower(extension);
  std::vector<std::string> directories{DataHome()};
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  std::istringstream list(dirs && *dirs ? dirs : "/usr/local/share:/usr/share");
  std::string dir;
  while (std::getline(list, dir, ':'))
    if (!dir.empty()) directories.push_back(dir);
  std::string found;
  int best = -1;
  for (const std::string& d : directories) {
    for (const std::string& line : Lines(ReadFile(d + "/mime/globs2"))) {
      // weight:type:glob[:flags]
      size_t first = line.find(':');
      size_t second = first == std::string::npos ? first : line.find(':', first + 1);
      if (line.empty() || line[0] == '#' || second == std::string::npos) continue;
      std::string glob = line.substr(second + 1);
      glob = glob.substr(0, glob.find(':'));
      int weight = std::atoi(line.c_str());
      if (Lower(glob) == wanted && weight > best) {
        best = weight;
        found = line.substr(first + 1, second - first - 1);
      }
    }
  }
  for (const auto& known : kKnownTypes)
    if (found.empty() && wanted == known[0]) found = known[1];
  return found;
}

bool DefaultApplication(const std::string& list, const std::string& mimeType, std::string* value,
                        const char* group) {
  bool inGroup = false;
  for (const std::string& line : Lines(list)) {
    if (!line.empty() && line[0] == '[') {
      inGroup = line.rfind(group, 0) == 0;
    } else if (inGroup && line.rfind(mimeType + "=", 0) == 0) {
      *value = line.substr(mimeType.size() + 1);
      return true;
    }
  }
  return false;
}

std::string SetDefaultApplication(const std::string& list, const std::string& mimeType,
                                  const std::string& value, const char* group) {
  std::vector<std::string> lines = Lines(list);
  std::string line = mimeType + "=" + value;
  bool inGroup = false;
  int header = -1;
  int groupEnd = -1;  // after the last line of our group that is not blank
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!lines[i].empty() && lines[i][0] == '[') {
      inGroup = lines[i].rfind(group, 0) == 0;
      if (inGroup) header = groupEnd = static_cast<int>(i) + 1;
    } else if (inGroup && lines[i].rfind(mimeType + "=", 0) == 0) {
      if (!value.empty()) {
        lines[i] = line;
        return Joined(lines);
      }
      lines.erase(lines.begin() + static_cast<long>(i));
      // A group left empty goes with its header, as it came.
      size_t end = static_cast<size_t>(header);
      while (end < lines.size() && lines[end].empty()) ++end;
      if (end == lines.size() || lines[end][0] == '[') {
        size_t start = static_cast<size_t>(header) - 1;
        if (end == lines.size() && start > 0 && lines[start - 1].empty()) --start;
        lines.erase(lines.begin() + static_cast<long>(start), lines.begin() + static_cast<long>(end));
      }
      return Joined(lines);
    } else if (inGroup && !lines[i].empty()) {
      groupEnd = static_cast<int>(i) + 1;
    }
  }
  if (value.empty()) return list;
  if (groupEnd < 0) {
    if (!lines.empty() && !lines.back().empty()) lines.push_back("");
    lines.push_back(group);
    lines.push_back(line);
  } else {
    lines.insert(lines.begin() + groupEnd, line);
  }
  return Joined(lines);
}

bool FreedesktopRegistry::SetValue(const char* key, const char* value) {
  std::string name = key, text = formats::Cp1252ToUtf8(value);
  // Two windows starting at once each change the associations.
  formats::FileChangeLock lock(MimeAppsPath());
  if (!name.empty() && name[0] == '.' && EndsWith(name, kOpenWithKey)) {
    std::string mimeType = MimeTypeOfExtension(name.substr(0, name.size() - (sizeof kOpenWithKey - 1)).c_str());
    return !mimeType.empty() && AddOffer(mimeType, DesktopId(text));
  }
  if (!name.empty() && name[0] == '.') return SetExtension(name, text);
  if (!EndsWith(name, kIconKey)) return false;
  if (Installed()) return true;
  name.resize(name.size() - (sizeof kIconKey - 1));
  std::string program;
  int index;
  SplitIcon(text, &program, &index);
  if (name.empty() || program.empty()) return false;
  bool icon = WriteFile(IconPath(name), ProgramIconSvg(index));
  return WriteEntry(name, program) && icon;
}

bool FreedesktopRegistry::DeleteKey(const char* key) {
  std::string name = key;
  // An extension's key is shared with every other program.
  if (name.empty() || name[0] == '.') return false;
  if (EndsWith(name, kIconKey)) {
    name.resize(name.size() - (sizeof kIconKey - 1));
    return RemoveFile(IconPath(name));
  }
  bool icon = RemoveFile(IconPath(name));
  return RemoveFile(EntryPath(name)) && icon;
}

bool FreedesktopRegistry::RemoveValue(const char* key, const char* value) {
  std::string name = key;
  formats::FileChangeLock lock(MimeAppsPath());
  if (name.empty() || name[0] != '.') return false;
  if (EndsWith(name, kOpenWithKey)) {
    std::string mimeType = MimeTypeOfExtension(name.substr(0, name.size() - (sizeof kOpenWithKey - 1)).c_str());
    return !mimeType.empty() && RemoveOffer(mimeType, DesktopId(formats::Cp1252ToUtf8(value)));
  }
  return RemoveExtension(name, formats::Cp1252ToUtf8(value));
}

}  // namespace drivers
