// Reading the clipboard's text, as the clipboard commands and the motif
// commands take it.
#pragma once

// Fills `text` (2048 characters) with the clipboard's text and one line
// feed; empty when the clipboard holds no text or cannot be opened (the
// error cue then sounds). A text with a "[" or "{" comes back translated
// through the dictionary, the translation also becoming the information
// text and file. A longer text is cut so that it and its line feed fit;
// one past the clipboard's bound is refused with a message, and empty.
void ReadClipboardText(char* text);
