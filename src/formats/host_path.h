// Host paths are UTF-8 strings; the standard library's paths take them as
// such on every system (a plain std::string would be read in the system's
// code page on Windows, garbling accents).
#pragma once
#include <filesystem>
#include <string>

namespace formats {

inline std::filesystem::path HostPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string HostPathText(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace formats
