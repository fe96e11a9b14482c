// Bounded appending to the fixed text buffers of the drills.
#pragma once

// Appends as much of `source` as fits a buffer of `size` characters (the
// NUL included).
void AppendText(char* destination, int size, const char* source);
