// The editor's unsaved text outlives an end the user did not choose (a
// signal, a logout, the display going away): on the way out it is kept in
// the data directory, and the next start offers it back.
#pragma once

class TPavSdiEditFile;

// From now on, while the editor lives, an end with unsaved text keeps it.
void KeepUnsavedTextOnTheWayOut(TPavSdiEditFile* editor);

// When a text was kept, says so and offers it: Oui puts it back in the
// editor, under its file's name and as changed, Non discards it, Annuler
// keeps it for the next start.
void OfferKeptText(TPavSdiEditFile* editor);
