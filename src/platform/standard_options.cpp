#include "platform/standard_options.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "formats/encoding.h"

namespace platform {

bool AnswerStandardOptions(int argc, char** argv, const char* name, const char* usage,
                           const char* const* ownOptions, int* status) {
  if (argc < 2) return false;
  const char* option = argv[1];
  if (std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0) {
    std::fputs(formats::Cp1252ToUtf8(usage).c_str(), stdout);
    *status = 0;
    return true;
  }
  if (std::strcmp(option, "--version") == 0) {
    std::printf("%s %s\n", name, PAVSDI_VERSION);
    *status = 0;
    return true;
  }
  if (std::strncmp(option, "--", 2) != 0) return false;
  for (const char* const* own = ownOptions; own && *own; ++own)
    if (std::strcmp(option, *own) == 0) return false;
  std::string message = formats::Cp1252ToUtf8("%s : option inconnue « %s ». "
                                               "« %s --help » donne les options.\n");
  std::fprintf(stderr, message.c_str(), name, option, name);
  *status = 2;
  return true;
}

}  // namespace platform
