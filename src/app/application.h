// What runs window mode once the entry has prepared the working state: the
// window's application, or the console front end's command loop.
#pragma once

using TApplicationRunner = int (*)();

// The window front end installs its runner before the entry runs; without
// one, window mode runs in the console.
void SetApplicationRunner(TApplicationRunner runner);

// The start-up the user meets in both front ends: the reading cue, the
// tablature as the current information, the message that it is on the
// clipboard (with `caption`) and the companion that puts it there.
void StartApplication(const char* caption);

// The same at the terminal, where the clipboard is often out of reach: it is
// tried first, and the person is told once where the tablature is.
void StartTerminalApplication();

// Runs window mode; returns the exit status.
int RunApplication();
