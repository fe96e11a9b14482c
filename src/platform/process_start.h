// What every program does first, before reading its arguments or writing.
#pragma once

namespace platform {

// Makes argc and argv the arguments in UTF-8 (Windows gives main its code
// page's, which lack most characters), and standard input and output plain
// bytes in UTF-8 (no "\r" added on Windows, accents shown by its console).
// Kept for the run.
void StartProcess(int* argc, char*** argv);

}  // namespace platform
