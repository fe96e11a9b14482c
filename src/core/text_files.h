// Text files: DOS text on disk (lines end with CR LF), a single line feed in
// memory, Windows-1252 inside.
#pragma once

// Reads page `page` (2048 characters, counted after the CR LF conversion)
// of a text file into `destination`, which holds 2048 characters and the
// NUL. Returns the number of characters taken, 0 when nothing could be read;
// a file that cannot be opened is also named in a box. A NUL byte in the
// file is taken but adds nothing. A file in UTF-8 is converted to
// Windows-1252.
int ReadTextPage(char* destination, int page, const char* path);

// Writes the text with CR LF line ends. The old file is replaced only once
// the new one is whole; 0 on success, -1 when it cannot be written: the old
// file is then untouched and a box names the file and the reason.
int WriteTextFile(const char* text, const char* path);

// The caption of a file name with characters Windows-1252 lacks.
inline constexpr char kNameNotWritable[] = "ce nom contient des caractères que le programme ne sait pas écrire";

// Removes the file, if there.
void RemoveTextFile(const char* path);

// The box of a file that could not be written, `error` an errno value.
void ShowWriteFailure(const char* path, int error);

// Copies into `destination` (count + 1 characters) at most `count`
// characters of `source` from character number `start` (1-based).
void MidText(char* destination, const char* source, int start, int count);
