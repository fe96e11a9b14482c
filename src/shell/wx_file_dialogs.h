// The open and save dialogs as the desktop's own file dialogs.
#pragma once
#include "platform/platform.h"

class TWxFileDialogs : public platform::FileDialogs {
 public:
  // Over the main window; saving confirms overwriting, opening wants an
  // existing file.
  bool ChooseFile(bool save, const char* title, const char* filter, std::string* name) override;
};
