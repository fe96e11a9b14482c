#include "app/document_registration.h"

#include <cstring>
#include <strings.h>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "platform/platform.h"

namespace {

const char kUnregister[] = "unregister";
const char kApplicationKey[] = "PavSdi.Application";
const char kDocumentKey[] = "PavSdi.Document.1";
const char kApplicationIcon[] = "PavSdi.Application\\DefaultIcon";
const char kDocumentIcon[] = "PavSdi.Document.1\\DefaultIcon";
// Our own type opens with us; text files offer us beside their editor.
const char kExtension[] = ".tab";
const char kTextOffer[] = ".txt\\OpenWithProgids";
constexpr int kPathSize = 260;

}  // namespace

bool IsUnregisterOption(const char* token) {
  if (token[0] != '-' && token[0] != '/') return false;
  const char* text = token + 1;
  size_t length = std::strlen(text);
  // A bare switch character is no word at all.
  return length > 0 && length <= sizeof kUnregister - 1 && strncasecmp(text, kUnregister, length) == 0;
}

void RegisterOrUnregister(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (IsUnregisterOption(argv[i])) {
      UnregisterDocumentType();
      return;
    }
  }
  RegisterDocumentType();
}

void RegisterDocumentType() {
  platform::Registry& registry = *platform::Get().registry;
  char path[kPathSize];
  // Without the whole path the entries would name another file.
  if (platform::ProgramFilePath(path, kPathSize - 2)) {
    registry.SetValue(kApplicationIcon, path);
    std::strcat(path, ",1");
    registry.SetValue(kDocumentIcon, path);
    registry.SetValue(kExtension, kDocumentKey);
    registry.SetValue(kTextOffer, kDocumentKey);
  }
  PlayCue(kEditionCue);
}

void UnregisterDocumentType() {
  platform::Registry& registry = *platform::Get().registry;
  registry.DeleteKey(kApplicationIcon);
  registry.DeleteKey(kDocumentIcon);
  registry.DeleteKey(kApplicationKey);
  registry.DeleteKey(kDocumentKey);
  registry.RemoveValue(kExtension, kDocumentKey);
  registry.RemoveValue(kTextOffer, kDocumentKey);
}
