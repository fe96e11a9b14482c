// The tablature commands of the Outils menu (600 to 610).
#pragma once

void RegisterTablatureCommands();
