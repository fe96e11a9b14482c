#include "platform/document_text.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/encoding.h"

namespace platform {
namespace {

bool FitsCp1252(const std::string& utf8) {
  const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
  for (size_t i = 0; i < utf8.size();) {
    unsigned cp;
    size_t n = DecodeUtf8(b + i, utf8.size() - i, &cp);
    if (n == 0) return false;
    if (cp >= 0x80 && CodePointToCp1252(cp) == '?') return false;
    i += n;
  }
  return true;
}

}  // namespace

bool FileReadable(const std::string& hostPath) {
  struct stat st;
  return stat(hostPath.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
         access(hostPath.c_str(), R_OK) == 0;
}

bool ReadFileBytes(const std::string& hostPath, std::string* bytes) {
  FILE* f = std::fopen(hostPath.c_str(), "rb");
  if (!f) return false;
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) {
    std::fclose(f);
    return false;
  }
  bytes->clear();
  char chunk[8192];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes->append(chunk, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool WriteFileBytes(const std::string& hostPath, const std::string& bytes) {
  std::string temporary = hostPath + ".tmp-pavsdi";
  FILE* f = std::fopen(temporary.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  if (ok && std::rename(temporary.c_str(), hostPath.c_str()) == 0) return true;
  unlink(temporary.c_str());
  return false;
}

std::string DecodeFileText(const std::string& bytes, TFileFormat* format) {
  format->utf8 = IsMultiByteUtf8(bytes.data(), bytes.size(), false);
  format->crlf = bytes.find("\r\n") != std::string::npos || bytes.find('\n') == std::string::npos;
  std::string text = format->utf8 ? bytes : Cp1252ToUtf8(bytes.data(), bytes.size());
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::string EncodeFileText(const std::string& utf8Text, TFileFormat* format) {
  if (!format->utf8 && !FitsCp1252(utf8Text)) format->utf8 = true;
  std::string text = format->utf8 ? utf8Text : Utf8ToCp1252(utf8Text);
  if (!format->crlf) return text;
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace platform
