#include "shell/wx_text.h"

#include "formats/encoding.h"

wxString Wx(const char* cp1252) { return wxString::FromUTF8(formats::Cp1252ToUtf8(cp1252)); }

std::string Cp1252(const wxString& text) {
  return formats::Utf8ToCp1252(std::string(text.utf8_str()));
}
