// Windows only: what waits and reads watch for an interrupt.
#pragma once

namespace platform {

// An event set when Ctrl+C, Ctrl+Break, the console's closing, a logoff or
// a shutdown arrived (a HANDLE); null before InstallInterruptHandlers.
void* InterruptWakeEvent();

}  // namespace platform
