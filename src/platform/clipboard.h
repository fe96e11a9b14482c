// The clipboard, in plain text. The music logic sees only this; the front
// end installs the one to use (see Services).
#pragma once
#include <cstddef>

namespace platform {

// The longest clipboard text the program reads, in bytes as the clipboard
// gives them: what its editor takes from a file. A longer one is refused,
// and no more than this is read of it.
inline constexpr size_t kClipboardLimit = 1 << 20;

enum class TClipboardText { kNone, kText, kTooLong };

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // False when the clipboard cannot be opened (held by another program, or
  // none on this machine).
  virtual bool Open() = 0;
  // The text it holds, Windows-1252, cut to size - 1 characters; an empty
  // buffer when it holds no text or one past kClipboardLimit. Only between
  // Open and Close.
  virtual TClipboardText ReadText(char* buffer, int size) = 0;
  // Replaces its content by the text; false when that failed. Only between
  // Open and Close.
  virtual bool WriteText(const char* text) = 0;
  virtual void Close() = 0;
};

}  // namespace platform
