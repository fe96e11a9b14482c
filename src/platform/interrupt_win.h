// Windows only: what waits and reads watch for an interrupt.
#pragma once

namespace platform {

// An event set when Ctrl+C, Ctrl+Break, the console's closing, a logoff or
// a shutdown arrived (a HANDLE); null before InstallInterruptHandlers.
void* InterruptWakeEvent();

// Asks a program of ours to end as on SIGTERM: it switches its notes off and
// writes its recordings. False when it does not listen (not ours, or
// already gone).
bool AskToEnd(unsigned long processId);

}  // namespace platform
