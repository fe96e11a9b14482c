// The editor's files: the text in UTF-8 for the window, and back to the
// bytes of the file in the file's own encoding and line ends.
#pragma once
#include <string>

namespace formats {

struct TFileFormat {
  bool utf8 = false;  // else Windows-1252
  bool crlf = true;   // DOS line ends (a new text gets them)
};

// The file's text in UTF-8 with "\n" line ends, and its format.
std::string DecodeFileText(const std::string& bytes, TFileFormat* format);

// The bytes to write. A text that Windows-1252 cannot hold is written in
// UTF-8 (and `format` says so) rather than losing characters.
std::string EncodeFileText(const std::string& utf8Text, TFileFormat* format);

}  // namespace formats
