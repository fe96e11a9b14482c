// The width of the terminal window on a descriptor, as the system tells
// it; 0 when it is no terminal (see TerminalColumns).
#pragma once
#include <cstddef>

namespace platform {

size_t WindowColumns(int fd);

}  // namespace platform
