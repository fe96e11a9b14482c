// The terminal as the system gives it: its width, and text written on it.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

namespace platform {

// The width of the terminal window on a descriptor; 0 when it is no
// terminal (see TerminalColumns).
size_t WindowColumns(int fd);

// Writes UTF-8 text on `stream` and flushes it: as wide characters on a
// Windows console, whatever its code page; as the bytes anywhere else.
void WriteUtf8(std::FILE* stream, const std::string& utf8);

}  // namespace platform
