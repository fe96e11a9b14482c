// The editor's files: the text in UTF-8 for the window, and back to the
// bytes of the file in the file's own encoding and line ends.
#pragma once
#include <string>

namespace platform {

struct TFileFormat {
  bool utf8 = false;  // else Windows-1252
  bool crlf = true;   // DOS line ends (a new text gets them)
};

// True when the file opens for reading and is not a directory.
bool FileReadable(const std::string& hostPath);

// Reads the whole file; false when it cannot be read (missing, a directory).
bool ReadFileBytes(const std::string& hostPath, std::string* bytes);

// Writes through a temporary file so the old one is replaced only when the
// new one is whole; false on failure, the old file untouched.
bool WriteFileBytes(const std::string& hostPath, const std::string& bytes);

// The file's text in UTF-8 with "\n" line ends, and its format.
std::string DecodeFileText(const std::string& bytes, TFileFormat* format);

// The bytes to write. A text that Windows-1252 cannot hold is written in
// UTF-8 (and `format` says so) rather than losing characters.
std::string EncodeFileText(const std::string& utf8Text, TFileFormat* format);

}  // namespace platform
