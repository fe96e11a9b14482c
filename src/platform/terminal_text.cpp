#include "platform/terminal_text.h"

#include <sys/ioctl.h>

namespace platform {

size_t WindowColumns(int fd) {
  winsize size{};
  return ioctl(fd, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

void WriteUtf8(std::FILE* stream, const std::string& utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

}  // namespace platform
