// The open and save dialogs: the system's common file dialogs over the main
// window.
#pragma once
#include <string>

#include "platform/platform.h"

class TFileDialogs : public platform::FileDialogs {
 public:
  // Open: the file must exist; save: asks before replacing one. A name
  // with characters Windows-1252 lacks is refused with a box.
  bool ChooseFile(bool save, const char* title, const char* filter, std::string* name) override;
};
