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

  bool ReadText(char* buffer, int size) override {
    if (size <= 0) return false;
    buffer[0] = 0;
    // Only what fits is read (a character is at most 4 bytes of UTF-8), and
    // only from a regular file.
    std::FILE* in = formats::OpenRegularFile(path_);
    if (!in) return false;
    std::string bytes(static_cast<size_t>(size) * 4, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
    std::fclose(in);
    // A person may have written the file in UTF-8.
    if (formats::IsMultiByteUtf8(bytes.data(), bytes.size(), true)) bytes = formats::Utf8ToCp1252(bytes);
    int n = 0;
    for (; n < size - 1 && n < static_cast<int>(bytes.size()) && bytes[n] != 0; ++n) buffer[n] = bytes[n];
    buffer[n] = 0;
    return n > 0;
  }

  // Readers never see half a text: a whole new file replaces the old.
  bool WriteText(const char* text) override { return formats::WriteFileAtomically(path_, text, std::strlen(text)); }

  void Close() override {}

 private:
  std::string path_;
};

}  // namespace

platform::Clipboard& FileClipboard(const char* path) {
  static TextFileClipboard clipboard;
  clipboard.SetPath(path);
  return clipboard;
}

}  // namespace drivers
