// Lines as narrow as a terminal or a 40-cell braille display: cut between
// words, never inside one.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace formats {

// The characters (code points) of a UTF-8 text.
size_t Utf8Length(const std::string& utf8);

// One line of UTF-8 (without its line end) cut at blanks into lines of at
// most `width` characters; the blanks at a cut are dropped. A word longer
// than the width (a path) is cut after a "/", or at the width when no "/"
// fits. Width 0 leaves the line whole.
std::vector<std::string> WrapLine(const std::string& utf8, size_t width);

}  // namespace formats
