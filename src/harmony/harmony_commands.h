// Puts the commands of the Init menu and the parameter, scale and chord
// commands of the Harm menu into the command table.
#pragma once

void RegisterHarmonyCommands();
