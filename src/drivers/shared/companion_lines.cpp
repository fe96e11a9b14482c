#include <string>

#include "core/prompts.h"
#include "drivers/companion_messages.h"
#include "formats/encoding.h"

namespace drivers {
namespace {

std::string pending;  // a line not yet whole
// A line longer than this is no box of ours: it is dropped.
constexpr size_t kLongestLine = 64 * 1024;

std::string Unescaped(const std::string& field) {
  std::string plain;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      plain += field[i];
      continue;
    }
    char next = field[++i];
    plain += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
  }
  return formats::Utf8ToCp1252(plain);
}

}  // namespace

bool ParseInfoLine(const std::string& line, std::string* caption, std::string* text) {
  const std::string kind = "INFO\t";
  if (line.compare(0, kind.size(), kind) != 0) return false;
  size_t tab = line.find('\t', kind.size());
  if (tab == std::string::npos) return false;
  *caption = Unescaped(line.substr(kind.size(), tab - kind.size()));
  *text = Unescaped(line.substr(tab + 1));
  return true;
}

void ShowCompanionLines(const char* bytes, size_t size) {
  pending.append(bytes, size);
  size_t end;
  while ((end = pending.find('\n')) != std::string::npos) {
    std::string line = pending.substr(0, end);
    pending.erase(0, end + 1);
    std::string caption, text;
    if (ParseInfoLine(line, &caption, &text)) ShowInfo(text.c_str(), caption.c_str());
  }
  if (pending.size() > kLongestLine) pending.clear();
}

}  // namespace drivers
