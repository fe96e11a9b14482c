// The tablature commands of the Outils menu (600 to 610) and of the
// Pratique menu (700 to 704).
#pragma once

void RegisterTablatureCommands();
