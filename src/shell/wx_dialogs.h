// Boxes and questions as dialogs of our own, read whole by a screen reader:
// the caption is the title and the accessible name, the text a label the
// reader announces, then the focused button.
#pragma once
#include "platform/platform.h"

class TWxDialogs : public platform::Dialogs {
 public:
  // Buttons "Oui", "Non", "Annuler" or "OK". In a question the keys O, N
  // and A (or Escape) answer alone, Enter takes the focused button; Enter,
  // Escape and Space close an information box. The box is modal to the
  // main window and has the keyboard focus when it opens.
  int MessageBox(const char* text, const char* caption, unsigned type) override;
};
