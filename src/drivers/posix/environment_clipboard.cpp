#include <cstdlib>

#include "drivers/clipboards.h"

namespace drivers {
namespace {

const char* Variable(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

}  // namespace

platform::TClipboardText CopyClipboardText(const std::string& text, char* buffer, int size) {
  int n = 0;
  for (; n < size - 1 && n < static_cast<int>(text.size()) && text[n] != 0; ++n) buffer[n] = text[n];
  buffer[n] = 0;
  return n > 0 ? platform::TClipboardText::kText : platform::TClipboardText::kNone;
}

platform::Clipboard* EnvironmentClipboard() {
  if (const char* path = Variable("PAVSDI_CLIPBOARD")) return &FileClipboard(path);
  if (Variable("WAYLAND_DISPLAY")) return &ToolClipboard(ClipboardTools::kWayland);
  if (Variable("DISPLAY")) return &ToolClipboard(ClipboardTools::kX11);
  return nullptr;
}

}  // namespace drivers
