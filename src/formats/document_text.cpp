#include "formats/document_text.h"

#include "formats/encoding.h"

namespace formats {

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

}  // namespace formats
