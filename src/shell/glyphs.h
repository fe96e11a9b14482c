// The pictures of the program's resources, drawn at start: icon 1001 and
// the tool-bar glyphs (one per command id).
#pragma once
#include <wx/bitmap.h>
#include <wx/icon.h>

constexpr int kIconResource = 1001;

wxIcon ApplicationIcon(int size);
wxBitmap ToolGlyph(int commandId);
