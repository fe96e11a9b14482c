// Boxes and questions as the system's own message boxes, owned by the main
// window: screen readers read them whole, title, text and button.
#pragma once
#include "platform/platform.h"

// The system's headers name MessageBoxW so when they come first.
#undef MessageBox

class TMessageBoxes : public platform::Dialogs {
 public:
  // Type 64: OK and the information icon; type 3: "&Oui", "&Non" and
  // "Annuler" whatever the system's language, O and N answering alone,
  // Escape Annuler, Enter the default button (Oui).
  int MessageBox(const char* text, const char* caption, unsigned type) override;
};
