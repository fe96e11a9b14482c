// The Windows clipboard, as Unicode text converted from and to
// Windows-1252, and the file of PAVSDI_CLIPBOARD when that is set.
#include <windows.h>

#include <cstring>
#include <string>

#include "drivers/clipboards.h"
#include "formats/encoding.h"
#include "formats/wide_text.h"

namespace drivers {
namespace {

// Another program may hold it for a moment.
constexpr int kOpenTries = 10;
constexpr DWORD kOpenPauseMs = 20;

class WindowsClipboard : public platform::Clipboard {
 public:
  bool Open() override {
    for (int i = 0; i < kOpenTries; ++i) {
      if (OpenClipboard(nullptr)) return true;
      Sleep(kOpenPauseMs);
    }
    return false;
  }

  platform::TClipboardText ReadText(char* buffer, int size) override {
    if (size <= 0) return platform::TClipboardText::kNone;
    buffer[0] = 0;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return platform::TClipboardText::kNone;
    // Only up to the end of the memory block: a text without its final
    // zero is not read past.
    size_t bytes = GlobalSize(data);
    if (bytes > platform::kClipboardLimit * sizeof(wchar_t)) return platform::TClipboardText::kTooLong;
    const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (!text) return platform::TClipboardText::kNone;
    size_t limit = bytes / sizeof(wchar_t);
    size_t length = 0;
    while (length < limit && text[length]) ++length;
    std::string cp1252 = formats::Utf8ToCp1252(formats::Narrow(text, length));
    GlobalUnlock(data);
    if (cp1252.size() > platform::kClipboardLimit) return platform::TClipboardText::kTooLong;
    return CopyClipboardText(cp1252, buffer, size);
  }

  bool WriteText(const char* text) override {
    std::wstring wide = formats::Widen(formats::Cp1252ToUtf8(text));
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    if (!memory) return false;
    void* target = GlobalLock(memory);
    if (!target) {
      GlobalFree(memory);
      return false;
    }
    std::memcpy(target, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) {
      GlobalFree(memory);
      return false;
    }
    return true;
  }

  void Close() override { CloseClipboard(); }
};

}  // namespace

platform::Clipboard* EnvironmentClipboard() {
  static WindowsClipboard system;
  static std::string path;
  if (const wchar_t* file = _wgetenv(L"PAVSDI_CLIPBOARD"); file && *file) {
    path = formats::Narrow(file);
    return &FileClipboard(path.c_str());
  }
  return &system;
}

}  // namespace drivers
