#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "drivers/clipboards.h"
#include "formats/encoding.h"

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
    std::ifstream in(path_, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A person may have written the file in UTF-8.
    if (formats::IsMultiByteUtf8(bytes.data(), bytes.size(), false)) bytes = formats::Utf8ToCp1252(bytes);
    int n = 0;
    for (; n < size - 1 && n < static_cast<int>(bytes.size()) && bytes[n] != 0; ++n) buffer[n] = bytes[n];
    buffer[n] = 0;
    return n > 0;
  }

  bool WriteText(const char* text) override {
    // Readers never see half a text: a whole new file replaces the old.
    std::string temporary = path_ + ".tmp";
    {
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      if (!out) return false;
      out << text;
      out.flush();
      if (!out) {
        std::remove(temporary.c_str());
        return false;
      }
    }
    if (std::rename(temporary.c_str(), path_.c_str()) != 0) {
      std::remove(temporary.c_str());
      return false;
    }
    return true;
  }

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
