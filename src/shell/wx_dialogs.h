// Boxes and questions as the desktop's own message dialogs.
#pragma once
#include "platform/platform.h"

class TWxDialogs : public platform::Dialogs {
 public:
  // Buttons "Oui", "Non", "Annuler" or "OK"; Escape answers Cancel. The box
  // has no owner window but comes to the front.
  int MessageBox(const char* text, const char* caption, unsigned type) override;
};
