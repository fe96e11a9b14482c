// The clipboard, in plain text. The music logic sees only this; the window
// installs the toolkit's clipboard, tests install a fake, and otherwise the
// environment decides (see EnvironmentClipboard).
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

// The installed clipboard, or the environment's when none is.
Clipboard& GetClipboard();
// Null gives the environment's back.
void InstallClipboard(Clipboard* clipboard);

// The file named by PAVSDI_CLIPBOARD when that is set (its bytes are the
// text); otherwise the desktop's clipboard through the Wayland or X11
// command-line tools when a display is there; otherwise a clipboard that
// cannot be opened.
Clipboard& EnvironmentClipboard();

}  // namespace platform
