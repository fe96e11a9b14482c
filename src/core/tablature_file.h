// Tablature files: read whole, and refused when they are not text, so that
// a binary file never becomes the current tablature or its working copy.
#pragma once
#include <string>

// Why a file was not read, beside the errno values.
constexpr int kNotText = -1;

// Reads the whole file (up to the editor's limit, 1 Mo) into `text`, in
// Windows-1252 (a file in UTF-8 is converted) with line feeds for CR LF.
// Returns 0, or why it was not read: an errno value, or kNotText for a file
// holding NUL bytes or control characters other than tab, CR, LF and form
// feed. `text` is changed only on success.
int LoadTablatureFile(const char* path, std::string* text);

// The reason in words: "le fichier n'existe pas", "c'est un répertoire"...
const char* ReadFailureReason(int reason);

// LoadTablatureFile; a failure is shown in a box naming the file and why.
bool ReadTablatureFile(const char* path, std::string* text);

// The box of a file that could not be read.
void ShowReadFailure(const char* path, int reason);
