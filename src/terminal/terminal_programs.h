// Companion programs and pages started from the terminal. What a companion
// says must come before the next prompt, so the terminal waits for it to
// end; Escape or Ctrl+C ends it sooner. The player of "jouer-tout" is
// waited for at the box that follows its start (the window's
// "initialisation" box, meaningless here): the terminal says instead what
// plays and which key stops it.
#pragma once
#include "platform/platform.h"

namespace drivers {

class TerminalPrograms : public platform::Programs {
 public:
  void Exec(const char* commandLine, int showMode) override;
  void End(const char* commandLine) override;
};

// True from the player's start until its box has waited for it.
bool PlayerStarted();

// The player's box: says what plays, waits for the player's end or a stop
// key (which ends it), and says which it was.
void WaitForPlayer();

}  // namespace drivers
