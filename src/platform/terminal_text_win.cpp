// A console shows the bytes of UTF-8 as its code page spells them (wine's
// whatever SetConsoleOutputCP says): text goes to it as wide characters. Its
// width is the visible part of the window, not its buffer, which is often
// far wider.
#include "platform/terminal_text.h"

#include <windows.h>
#include <io.h>

#include "formats/wide_text.h"

namespace platform {
namespace {

HANDLE ConsoleOf(int fd) {
  auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  DWORD mode;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

}  // namespace

size_t WindowColumns(int fd) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  HANDLE console = ConsoleOf(fd);
  if (!console || !GetConsoleScreenBufferInfo(console, &info)) return 0;
  return static_cast<size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

void WriteUtf8(std::FILE* stream, const std::string& utf8) {
  std::fflush(stream);
  HANDLE console = ConsoleOf(_fileno(stream));
  if (!console) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
    return;
  }
  std::wstring wide = formats::Widen(utf8);
  DWORD written;
  WriteConsoleW(console, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

}  // namespace platform
