// Small text helpers shared by the play-string parser and the key-signature
// translation.
#pragma once
#include <cstdint>

// Lowercases A-Z only: accented bytes (0xE1 is the double flat) stay as they are.
void LowercaseAscii(char* text);

// Reads a number from at most `count` characters of `text` (fewer when the
// text ends first).
int32_t ReadNumberAt(const char* text, int count);
