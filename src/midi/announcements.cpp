#include <cstring>

#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/voice_player.h"

namespace {

// A name shown as the text of the question or as its caption.
struct Name {
  uint32_t length;
  const char* word;
  bool asCaption;
};

constexpr Name kRestNames[] = {
    {1000, "pause", false},
    {2000, "demi pause", false},
    {4000, "soupir", false},
    {8000, "demi soupir", false},
    {16000, "quart de  soupir", false},
    {32000, "huitième de soupir", false},
    {64000, "seizième de soupir", false},
    {666, "pause pointée", true},
    {1333, "demi pause pointée", true},
    {2666, "soupir pointée", true},
    {5333, "demi soupir pointée", true},
    {10666, "quart de soupir pointée", true},
    {21333, "huitième de soupir pointée", true},
    {42666, "seizième de soupir pointée", true},
};

constexpr Name kValueNames[] = {
    {1000, "ronde", true},
    {2000, "blanche", true},
    {4000, "noire", true},
    {8000, "croche", true},
    {16000, "double croche", true},
    {32000, "triple croche", false},
    {64000, "quadruple croche", true},
    {3000, "triolet de blanche", false},
    {6000, "triolet de noire", false},
    {12000, "triolet de croche", false},
    {24000, "triolet de double croche", false},
    {48000, "triolet de triplecroche", false},
    {666, "ronde pointée", true},
    {1333, "blanche pointée", true},
    {2666, "noire pointée", true},
    {5333, "croche pointée", true},
    {10666, "double croche pointée", true},
    {21333, "triple croche pointée", true},
    {42666, "quadruple croche pointée", true},
};

constexpr const char* kSharpNames[12] = {"do", "do dièse", "ré", "ré dièse", "mi", "fa",
                                         "fa dièse", "sol", "sol dièse", "la", "la dièse", "si"};
constexpr const char* kFlatNames[12] = {"do", "ré bémol", "ré", "mi bémol", "mi", "fa",
                                        "sol bémol", "sol", "la bémol", "la", "si bémol", "si"};

struct MarkWord {
  char mark;
  const char* word;
};
constexpr MarkWord kMarkWords[] = {
    {'(', "début"}, {'[', "début"},    {'{', "début"},       {')', "fin"},      {']', "fin"},
    {'}', "fin"},   {'a', "allegro"},  {'c', "crechendo"},   {'d', "diminuendo"}, {'e', "forté"},
    {'m', "modérato"}, {'p', "piano"}, {'r', "ralentir"},    {'v', "vivatche"},
};

template <size_t N>
int AskName(const Name (&table)[N], uint32_t length) {
  for (const Name& n : table) {
    if (n.length == length) return n.asCaption ? AskYesNoCancel("", n.word) : AskYesNoCancel(n.word, "");
  }
  return 0;
}

}  // namespace

int AnnounceMode(uint8_t mode) {
  constexpr const char* kModeWords[] = {"normal", "legato", "staccato", "tenu"};
  if (mode > kTenu) return 0;
  return AskYesNoCancel(kModeWords[mode], "mode");
}

int AnnounceMark(char mark) {
  for (const MarkWord& m : kMarkWords) {
    if (m.mark == mark) return AskYesNoCancel("", m.word);
  }
  return 0;
}

int AnnounceNote(uint8_t pitch, uint32_t length) {
  if (pitch == 0) return AskName(kRestNames, length);
  int8_t s = static_cast<int8_t>(pitch);
  if (s < 0) return 0;  // no name above 127
  const char* const* names = std::strchr(WorkingState.KeySignature, '+') ? kSharpNames : kFlatNames;
  return AskYesNoCancel(names[s % 12], "");
}

int AnnounceValue(uint32_t length) { return AskName(kValueNames, length); }
