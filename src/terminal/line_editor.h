// Command lines typed at the terminal, with line editing and a history
// (libedit): the arrows, Ctrl+R and the user's ~/.editrc work as in a shell.
#pragma once
#include "platform/platform.h"

namespace drivers {

class LineEditor : public platform::LineInput {
 public:
  ~LineEditor() override;
  bool ReadLine(char* buffer, int size) override;

 private:
  void Open();
  struct Editor;
  Editor* editor_ = nullptr;
};

}  // namespace drivers
