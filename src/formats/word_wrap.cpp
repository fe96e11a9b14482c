#include "formats/word_wrap.h"

#include <algorithm>

namespace formats {
namespace {

bool Continues(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The byte where the first `count` characters of `text` from `from` end.
size_t Advance(const std::string& text, size_t from, size_t count) {
  size_t at = from;
  while (at < text.size() && count > 0) {
    ++at;
    while (at < text.size() && Continues(static_cast<unsigned char>(text[at]))) ++at;
    --count;
  }
  return at;
}

// A word wider than a line, in pieces of at most `width` characters.
void CutWord(const std::string& word, size_t width, std::vector<std::string>& lines) {
  size_t from = 0;
  while (Utf8Length(word.substr(from)) > width) {
    size_t end = Advance(word, from, width);
    size_t slash = word.rfind('/', end - 1);
    if (slash != std::string::npos && slash > from) end = slash + 1;
    lines.push_back(word.substr(from, end - from));
    from = end;
  }
  lines.push_back(word.substr(from));
}

}  // namespace

size_t Utf8Length(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8)
    if (!Continues(c)) ++n;
  return n;
}

std::vector<std::string> WrapLine(const std::string& utf8, size_t width) {
  if (width == 0 || Utf8Length(utf8) <= width) return {utf8};
  std::vector<std::string> lines;
  std::string line;
  bool first = true;
  for (size_t at = 0;;) {
    size_t start = utf8.find_first_not_of(' ', at);
    if (start == std::string::npos) break;
    size_t end = std::min(utf8.find(' ', start), utf8.size());
    std::string gap = utf8.substr(at, start - at);
    std::string word = utf8.substr(start, end - start);
    at = end;
    if (first) {
      line = gap;  // the line's own indent
      first = false;
    } else if (Utf8Length(line) + Utf8Length(gap) + Utf8Length(word) <= width) {
      line += gap + word;
      continue;
    } else {
      lines.push_back(line);
      line.clear();
    }
    std::string started = line + word;
    if (Utf8Length(started) <= width) {
      line = started;
      continue;
    }
    CutWord(started, width, lines);
    // Its last piece may take the next words.
    line = lines.back();
    lines.pop_back();
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

}  // namespace formats
