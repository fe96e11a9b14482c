// The visible part of a console window, not its buffer, which is often far
// wider.
#include "platform/terminal_columns.h"

#include <windows.h>
#include <io.h>

namespace platform {

size_t WindowColumns(int fd) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (handle == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(handle, &info)) return 0;
  return static_cast<size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

}  // namespace platform
