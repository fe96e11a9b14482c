#include "platform/clipboard.h"

#include <cstdlib>

#include "platform/clipboard_backends.h"

namespace platform {
namespace {

class NoClipboard : public Clipboard {
 public:
  bool Open() override { return false; }
  bool ReadText(char* buffer, int size) override {
    if (size > 0) buffer[0] = 0;
    return false;
  }
  bool WriteText(const char*) override { return false; }
  void Close() override {}
};

Clipboard* installed = nullptr;

const char* Variable(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

}  // namespace

Clipboard& GetClipboard() { return installed ? *installed : EnvironmentClipboard(); }

void InstallClipboard(Clipboard* clipboard) { installed = clipboard; }

Clipboard& EnvironmentClipboard() {
  static NoClipboard none;
  if (const char* path = Variable("PAVSDI_CLIPBOARD")) return FileClipboard(path);
  if (Variable("WAYLAND_DISPLAY")) return ToolClipboard(ClipboardTools::kWayland);
  if (Variable("DISPLAY")) return ToolClipboard(ClipboardTools::kX11);
  return none;
}

}  // namespace platform
