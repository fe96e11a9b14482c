// The clipboard, in plain text. The music logic sees only this; the front
// end installs the one to use (see Services).
#pragma once

namespace platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // False when the clipboard cannot be opened (held by another program, or
  // none on this machine).
  virtual bool Open() = 0;
  // The text it holds, Windows-1252, cut to size - 1 characters; false and
  // an empty buffer when it holds no text. Only between Open and Close.
  virtual bool ReadText(char* buffer, int size) = 0;
  // Replaces its content by the text; false when that failed. Only between
  // Open and Close.
  virtual bool WriteText(const char* text) = 0;
  virtual void Close() = 0;
};

}  // namespace platform
