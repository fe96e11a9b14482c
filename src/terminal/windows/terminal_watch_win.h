// Windows only: waiting for a program's end at the console, as StopKeyBefore
// does with a process descriptor on Linux.
#pragma once

namespace drivers {

// Watches the console's keys until `process` (a HANDLE) has ended; true when
// Escape or Ctrl+C came first.
bool StopKeyBeforeEnd(void* process);

}  // namespace drivers
