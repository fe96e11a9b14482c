// The settings file "\orfeon\lexiton.ini": the tablature, reading options
// and musical parameters a user fixes outside the program.
#pragma once
#include <cstdint>

#include "core/data_files.h"

// Reads the first page of the settings file into the working state.
// `settingsText` and `scratch` hold a page and its NUL (kPageSize + 1);
// `settingsText` receives the text read, empty when there is none. Sends a
// program change with `Instrument` when the file was read. Returns 1 when
// the file was read, 0 otherwise.
int LoadSettings(char* settingsText, char* scratch);

// Writes `key` (equals sign included) with `value` into the settings file,
// keeping the rest of it byte for byte. False, with a message, when the
// file cannot be written.
bool SaveSettingsNumber(const char* key, int32_t value);
