#include <cstdlib>

#include "drivers/clipboards.h"

namespace drivers {
namespace {

const char* Variable(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

}  // namespace

platform::Clipboard* EnvironmentClipboard() {
  if (const char* path = Variable("PAVSDI_CLIPBOARD")) return &FileClipboard(path);
  if (Variable("WAYLAND_DISPLAY")) return &ToolClipboard(ClipboardTools::kWayland);
  if (Variable("DISPLAY")) return &ToolClipboard(ClipboardTools::kX11);
  return nullptr;
}

}  // namespace drivers
