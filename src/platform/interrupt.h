// Ctrl+C, SIGTERM and SIGHUP (a closed terminal, a logout) end the program
// cleanly: the handler only raises a flag and wakes the event loop, and the
// program acts on it at its next wait, read, rendered chunk or event, where
// it is safe to switch notes off and write the recordings. Signals repeated
// while that work runs (a closed terminal sends SIGHUP twice) are ignored
// for a grace period; one after it ends the program at once.
#pragma once

namespace platform {

void InstallInterruptHandlers();

// Ends the program (status 128 + signal) when an interrupt is pending,
// after the shutdown work. Called after every sleep and every read, in
// long loops, and by the window when WakeFd is readable. Does nothing
// while the shutdown work runs.
void CheckInterrupted();

// Ends the program now with `status`, after the shutdown work done with no
// one there to answer (a signal, a lost display).
[[noreturn]] void EndUnattended(int status);

// Readable once a signal arrived: an event loop watches it and then calls
// CheckInterrupted. -1 before InstallInterruptHandlers.
int InterruptWakeFd();

// Waits until `fd` can be read (none when -1) or `timeoutNs` has passed
// (never when negative), ending the program when a signal arrives meanwhile,
// even one that came just before the wait began: every blocking read and
// sleep waits here. 1 when `fd` can be read, 0 when the time has passed, -1
// when the wait failed or a signal came during the shutdown work.
int WaitReadable(int fd, long long timeoutNs = -1);

// Work to do when the program ends, normally or on an interrupt (switching
// notes off, writing recordings). Runs once.
void AtShutdown(void (*work)());
void RunShutdown();

// True while the shutdown work runs on a signal or at exit (a lost
// display): no one is there to answer a box then.
bool ShuttingDown();

}  // namespace platform
