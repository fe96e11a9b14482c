#include "platform/process_start.h"

namespace platform {

// POSIX systems give main the bytes typed, and write bytes as they are.
void StartProcess(int*, char***) {}

}  // namespace platform
