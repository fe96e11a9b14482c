#include "platform/terminal_columns.h"

#include <sys/ioctl.h>

namespace platform {

size_t WindowColumns(int fd) {
  winsize size{};
  return ioctl(fd, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

}  // namespace platform
