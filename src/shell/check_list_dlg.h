// Vérifier in the window: the problems of the current tablature as a list,
// read item by item with the arrow keys; Enter puts the editor's caret
// where the chosen problem is.
#pragma once

class TPavSdiEditFile;

// Replaces the command's box of the terminal with the list.
void RegisterCheckList(TPavSdiEditFile* editor);
