// The registry on Windows: the keys of the document types under the user's
// own classes (HKCU\Software\Classes), which need no administrator and
// which Windows reads before the machine's. A class key "X" given its
// "X\DefaultIcon" also opens files with the program of that icon
// (X\shell\open\command). An extension's default replaced by ours is kept
// beside it, in its value "PavSdi.Previous", and put back on removal while
// the default is still ours; keys left empty by a removal go, so nothing
// added stays. The installer (packaging/windows/pavsdi.nsi) writes and
// removes the same keys the same way.
#pragma once
#include <string>

#include "platform/registry.h"

namespace drivers {

class ClassesRegistry : public platform::Registry {
 public:
  // `root` is the key under HKEY_CURRENT_USER that holds the classes.
  explicit ClassesRegistry(const wchar_t* root = L"Software\\Classes") : root_(root) {}
  bool SetValue(const char* key, const char* value) override;
  bool DeleteKey(const char* key) override;
  bool RemoveValue(const char* key, const char* value) override;

 private:
  std::wstring root_;
};

}  // namespace drivers
