#include "tablature/tablature_elements.h"

#include "core/numbers.h"

int LetterSemitone(char c) {
  switch (c) {
    case 'c': return 0;
    case 'd': return 2;
    case 'e': return 4;
    case 'f': return 5;
    case 'g': return 7;
    case 'a': return 9;
    case 'b': return 11;
    default: return -1;
  }
}

namespace {

// The number the next `count` characters of `text` (or fewer at its end)
// read as.
int32_t ReadNumberOf(const char* text, int count) {
  char part[4] = {};
  for (int i = 0; i < count && text[i]; ++i) part[i] = text[i];
  return ReadNumber(part);
}

}  // namespace

TabElement ReadTabElement(const char* text, size_t i, size_t length) {
  char c = text[i];
  char next = i + 1 < length ? text[i + 1] : '\0';
  TabElement e{TabElementKind::kOther, i, i + 1, 0, 0, 0, 0};
  if (c == 'i') {
    e.kind = TabElementKind::kIndication;
    e.letter = next;
    size_t p = next ? i + 2 : i + 1;
    e.argumentAt = p;
    while (p < length && text[p] != ':') ++p;
    e.argumentEnd = p;
    e.after = p < length ? p + 1 : p;  // the ":"
  } else if (c == '\n' || c == '\r' || c == '|') {
    e.kind = TabElementKind::kEndOfMeasure;
  } else if (c == 'm') {
    e.kind = TabElementKind::kMode;
    e.letter = next;
    if (next) e.after = i + 2;
  } else if (c == '(' || c == '[' || c == '{') {
    e.kind = TabElementKind::kGroupStart;
  } else if (c == ')' || c == ']' || c == '}') {
    e.kind = TabElementKind::kGroupEnd;
  } else if (LetterSemitone(c) >= 0) {
    e.kind = TabElementKind::kNote;
  } else if (c == 'p') {
    e.kind = TabElementKind::kRest;
  } else if (c == '+' || c == '-' || c == '*' || c == '\xE1') {
    e.kind = TabElementKind::kAccidental;
  } else if (c == '>') {
    e.kind = TabElementKind::kOctaveUp;
  } else if (c == '<') {
    e.kind = TabElementKind::kOctaveDown;
  } else if (c == 'o') {
    e.kind = TabElementKind::kOctave;
    e.value = next >= '0' && next <= '9' ? next - '0' : 0;
    if (next) e.after = i + 2;
  } else if (c == 't') {
    e.kind = TabElementKind::kTempo;
    e.value = ReadNumberOf(text + i + 1, 3);
    size_t consumed = e.value >= 100 ? 3 : e.value >= 10 ? 2 : 1;
    e.after = i + 1 + consumed;
    if (e.after > length) e.after = length;
  } else if (c >= '1' && c <= '9') {
    e.kind = TabElementKind::kNoteValue;
    e.value = ReadNumberOf(text + i, 2);
    if (e.value >= 10) e.after = i + 2;
  } else if (c == '.') {
    e.kind = next == '.' ? TabElementKind::kDoubleDot : TabElementKind::kDot;
    if (next == '.') e.after = i + 2;
  }
  return e;
}
