// Windows only: the system's wide-character (UTF-16) texts, to and from the
// UTF-8 of host paths and the program's edges, and the C library's error
// numbers for the system's errors.
#pragma once
#include <string>

namespace formats {

// Invalid UTF-8 becomes U+FFFD: such a name is refused by the system rather
// than taken for another.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const wchar_t* wide);
std::string Narrow(const wchar_t* wide, size_t length);

// errno's number for a GetLastError() code (EIO when none fits).
int ErrnoFromSystemError(unsigned long error);

}  // namespace formats
