#include "drivers/default_printer.h"

#include <cstdlib>
#include <sstream>

#include "formats/document_text.h"
#include "formats/file_bytes.h"

namespace drivers {

std::string LpOptionsDefault(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string keyword, name;
    if (words >> keyword >> name && keyword == "Default") return name.substr(0, name.find('/'));
  }
  return "";
}

std::string DefaultPrinterName() {
  for (const char* variable : {"LPDEST", "PRINTER"}) {
    const char* set = std::getenv(variable);
    if (set && *set) return set;
  }
  const char* home = std::getenv("HOME");
  for (std::string path : {std::string(home ? home : "") + "/.cups/lpoptions", std::string("/etc/cups/lpoptions")}) {
    std::string text;
    if (formats::ReadFileBytes(path, &text)) {
      std::string name = LpOptionsDefault(text);
      if (!name.empty()) return name;
    }
  }
  return "";
}

}  // namespace drivers
