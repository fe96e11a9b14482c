// The commands whose window versions the terminal lacks.
#pragma once

namespace drivers {

// The about box's texts as one information box.
void ShowAboutInfo();

// About as that box, and printing refused with a word to the person.
void RegisterConsoleCommands();

}  // namespace drivers
