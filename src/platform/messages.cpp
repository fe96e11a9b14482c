#include "platform/messages.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "formats/encoding.h"
#include "formats/word_wrap.h"

namespace platform {

void PrintForPerson(const char* cp1252) { PrintUtf8ForPerson(formats::Cp1252ToUtf8(cp1252)); }

void PrintUtf8ForPerson(const std::string& utf8) {
  size_t width = TerminalColumns(STDERR_FILENO);
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
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  const char* columns = std::getenv("COLUMNS");
  long value = columns ? std::strtol(columns, nullptr, 10) : 0;
  return value > 0 ? static_cast<size_t>(value) : 0;
}

}  // namespace platform
