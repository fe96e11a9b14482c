// The clipboards the environment can give (see EnvironmentClipboard).
#pragma once
#include "platform/clipboard.h"

#include <string>

namespace drivers {

// Puts the text (Windows-1252) into the buffer up to its first NUL, cut to
// size - 1 characters; kNone when that leaves nothing.
platform::TClipboardText CopyClipboardText(const std::string& text, char* buffer, int size);

// A file whose bytes are the clipboard's text; a missing or empty file is
// an empty clipboard. Written whole or not at all.
platform::Clipboard& FileClipboard(const char* path);

// The desktop's clipboard through wl-copy/wl-paste or xclip. Writing leaves
// the text served by the tool, which stays in the background until another
// program takes the clipboard, so the text outlives the writer.
enum class ClipboardTools { kWayland, kX11 };
platform::Clipboard& ToolClipboard(ClipboardTools tools);

// The file named by PAVSDI_CLIPBOARD when that is set; otherwise the
// desktop's clipboard through the Wayland or X11 command-line tools when a
// display is there; otherwise none (null).
platform::Clipboard* EnvironmentClipboard();

}  // namespace drivers
