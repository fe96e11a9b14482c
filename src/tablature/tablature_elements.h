// The elements of a tablature text as the reader takes them, one after the
// other: the reader acts on them and the checker judges them, so both skip
// exactly the same characters.
#pragma once
#include <cstddef>
#include <cstdint>

enum class TabElementKind : uint8_t {
  kIndication,    // "i", a kind letter, an argument up to ":"
  kEndOfMeasure,  // line feed, carriage return or "|"
  kMode,          // "m" and a letter; `letter` is 0 at the end of the text
  kGroupStart,
  kGroupEnd,
  kNote,
  kRest,
  kAccidental,
  kOctaveUp,
  kOctaveDown,
  kOctave,     // `value`: the digit after "o", 0 for anything else
  kTempo,      // `value`: the number read after "t"
  kNoteValue,  // `value`: the one or two digits
  kDot,
  kDoubleDot,
  kOther,  // read and ignored
};

struct TabElement {
  TabElementKind kind;
  size_t at;     // its first character
  size_t after;  // the position after its last character
  char letter;   // the kind letter of an indication, the letter after "m"
  int32_t value;
  size_t argumentAt;  // an indication's argument: [argumentAt, argumentEnd)
  size_t argumentEnd;
};

// The element that starts at text[i] of a lowercased text of `length`
// characters.
TabElement ReadTabElement(const char* text, size_t i, size_t length);

// The semitone of a note letter above c, -1 for any other character.
int LetterSemitone(char c);
