// The information file, where the drills leave what they last showed.
#pragma once

extern const char kInfoFile[];  // "\orfeon\prvinfo.tab"

// Appends as much of `source` as fits a buffer of `size` characters (the
// NUL included).
void AppendText(char* destination, int size, const char* source);
