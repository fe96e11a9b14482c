// The window front end: boxes, cues and companion programs of the desktop,
// and the application window as the runner of window mode.
#pragma once

// Starts the window toolkit (boxes may be shown from then on) and installs
// the front end. False, and nothing changed, when no window can be opened.
bool InstallWindowFrontEnd(int argc, char** argv);
