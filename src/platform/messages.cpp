#include "platform/messages.h"

#include <cstdio>
#include <string>

#include "formats/encoding.h"

namespace platform {

void PrintForPerson(const char* cp1252) {
  std::string text = formats::Cp1252ToUtf8(cp1252);
  std::fputs(text.c_str(), stderr);
  std::fputc('\n', stderr);
}

}  // namespace platform
