// The word dictionary "\orfeon\lexiton.dic": lines holding a bracketed key
// followed by its translation.
#pragma once
#include "core/data_files.h"

// Copies into `found` (2048 characters) what follows the first occurrence
// of `searchKey` in the first line of `path` that holds it, the line feed
// included; returns its length, 0 when no line holds it or the file is
// missing (then named in a box).
int LookupWord(const char* searchKey, char* found, const char* path);

// Looks up every word that `text` puts between "[" or "{" and a closing
// bracket. `keys` receives the keys looked up, `translations` the
// translations ("(...)" after "[", bare after "{"); both hold 2048
// characters and are cut there. Returns 0.
int TranslateText(const char* text, char* keys, char* translations, const char* path);
