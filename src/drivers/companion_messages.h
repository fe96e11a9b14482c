// What a companion says reaches the user through the program: its boxes
// are lines of the script protocol on its standard output, and the window
// shows each information line as a box of its own (a recording of Jouer
// Tout that could not be written).
#pragma once
#include <string>

namespace drivers {

// Makes a pipe the companions' standard output from now on; returns its
// reading end, for the window's loop to watch. -1 when there is no pipe.
int WatchCompanionMessages();

// Shows the information lines that arrived, each as a box.
void ShowCompanionMessages();

// Takes bytes read from the pipe: each whole information line in them is
// shown as a box; the rest of a line waits for its end.
void ShowCompanionLines(const char* bytes, size_t size);

// One protocol line as (caption, text) in Windows-1252, escapes undone;
// false for a line that is not an information box.
bool ParseInfoLine(const std::string& line, std::string* caption, std::string* text);

}  // namespace drivers
