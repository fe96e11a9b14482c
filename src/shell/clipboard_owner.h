// Who holds the desktop's clipboard.
#pragma once

// True when the text on the clipboard is this program's own (copied from
// its editor), or when that cannot be told: the toolkit then reads it
// from memory. False when another program holds it.
bool ClipboardHeldHere();
