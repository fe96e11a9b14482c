#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "drivers/clipboards.h"
#include "formats/encoding.h"
#include "formats/file_bytes.h"

namespace drivers {
namespace {

class TextFileClipboard : public platform::Clipboard {
 public:
  void SetPath(const char* path) { path_ = path; }

  // A file can always be opened: a missing one is an empty clipboard.
  bool Open() override { return true; }

  platform::TClipboardText ReadText(char* buffer, int size) override {
    if (size <= 0) return platform::TClipboardText::kNone;
    buffer[0] = 0;
    // Only from a regular file, and only what fits is read (a character is
    // at most 4 bytes of UTF-8).
    std::FILE* in = formats::OpenRegularFile(path_);
    if (!in) return platform::TClipboardText::kNone;
    struct stat st;
    if (fstat(fileno(in), &st) == 0 && static_cast<uint64_t>(st.st_size) > platform::kClipboardLimit) {
      std::fclose(in);
      return platform::TClipboardText::kTooLong;
    }
    std::string bytes(static_cast<size_t>(size) * 4, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
    std::fclose(in);
    // A person may have written the file in UTF-8.
    if (formats::IsMultiByteUtf8(bytes.data(), bytes.size(), true)) bytes = formats::Utf8ToCp1252(bytes);
    return CopyClipboardText(bytes, buffer, size);
  }

  // Readers never see half a text: a whole new file replaces the old.
  bool WriteText(const char* text) override { return formats::WriteFileAtomically(path_, text, std::strlen(text)); }

  void Close() override {}

 private:
  std::string path_;
};

}  // namespace

platform::TClipboardText CopyClipboardText(const std::string& text, char* buffer, int size) {
  int n = 0;
  for (; n < size - 1 && n < static_cast<int>(text.size()) && text[n] != 0; ++n) buffer[n] = text[n];
  buffer[n] = 0;
  return n > 0 ? platform::TClipboardText::kText : platform::TClipboardText::kNone;
}

platform::Clipboard& FileClipboard(const char* path) {
  static TextFileClipboard clipboard;
  clipboard.SetPath(path);
  return clipboard;
}

}  // namespace drivers
