#include "shell/wx_text.h"

#include "platform/encoding.h"

wxString Wx(const char* cp1252) { return wxString::FromUTF8(platform::Cp1252ToUtf8(cp1252)); }

std::string Cp1252(const wxString& text) {
  return platform::Utf8ToCp1252(std::string(text.utf8_str()));
}
