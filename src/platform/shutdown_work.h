// Inside the platform layer: the shutdown work of interrupt.h, shared by the
// POSIX and Windows handlers.
#pragma once

namespace platform {

// Runs the shutdown work with no one there to answer (a signal, a console
// closed, a lost display).
void RunShutdownUnattended();

// True while the shutdown work runs, attended or not.
bool ShutdownRunning();

}  // namespace platform
