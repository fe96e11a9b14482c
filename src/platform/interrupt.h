// Ctrl+C and SIGTERM end the program cleanly: the handler only raises a
// flag, and the program acts on it at its next wait or read, where it is
// safe to switch notes off and write the recordings.
#pragma once

namespace platform {

void InstallInterruptHandlers();

// Ends the program (status 128 + signal) when an interrupt is pending,
// after the shutdown work. Called after every sleep and every read.
void CheckInterrupted();

// Work to do when the program ends, normally or on an interrupt (switching
// notes off, writing recordings). Runs once.
void AtShutdown(void (*work)());
void RunShutdown();

}  // namespace platform
