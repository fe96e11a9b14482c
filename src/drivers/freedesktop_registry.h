// The registry on freedesktop systems. A class key "X" with its
// "X\DefaultIcon" is the desktop entry X.desktop in
// $XDG_DATA_HOME/applications, launching the file and showing icon X in
// $XDG_DATA_HOME/icons; an extension key ".ext" is the default application
// of the extension's MIME type in $XDG_CONFIG_HOME/mimeapps.list, and
// ".ext\OpenWithProgids" an added association there (offered in "Open
// with", not the default). The default it replaces is kept beside the
// entries and put back on removal; an added association leaves only when we
// added it. Run from an installed prefix, the class keys are the installed
// desktop entry: nothing is written for them, and the associations name it.
#pragma once
#include <string>

#include "platform/registry.h"

namespace drivers {

class FreedesktopRegistry : public platform::Registry {
 public:
  bool SetValue(const char* key, const char* value) override;
  bool DeleteKey(const char* key) override;
  bool RemoveValue(const char* key, const char* value) override;
};

// The MIME type of files ending in `extension` (".txt"), from the shared
// MIME database; "" when it has none.
std::string MimeTypeOfExtension(const char* extension);

// mimeapps.list text with `mimeType` in `group` set to `value` ("" removes
// the line); every other line is kept as it was.
std::string SetDefaultApplication(const std::string& list, const std::string& mimeType,
                                  const std::string& value, const char* group = "[Default Applications]");
// The value of `mimeType` in `group`; false when there is none.
bool DefaultApplication(const std::string& list, const std::string& mimeType, std::string* value,
                        const char* group = "[Default Applications]");

}  // namespace drivers
