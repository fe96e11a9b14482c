#include "platform/messages.h"

#include <cstdio>
#include <cstdlib>

#include "formats/encoding.h"
#include "formats/word_wrap.h"
#include "platform/terminal_columns.h"

namespace platform {

void PrintForPerson(const char* cp1252) { PrintUtf8ForPerson(formats::Cp1252ToUtf8(cp1252)); }

void PrintUtf8ForPerson(const std::string& utf8) {
  size_t width = TerminalColumns(2);
  size_t start = 0;
  for (;;) {
    size_t end = utf8.find('\n', start);
    for (const std::string& line : formats::WrapLine(utf8.substr(start, end - start), width)) {
      std::fputs(line.c_str(), stderr);
      std::fputc('\n', stderr);
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

size_t TerminalColumns(int fd) {
  if (size_t window = WindowColumns(fd)) return window;
  const char* columns = std::getenv("COLUMNS");
  long value = columns ? std::strtol(columns, nullptr, 10) : 0;
  return value > 0 ? static_cast<size_t>(value) : 0;
}

}  // namespace platform
