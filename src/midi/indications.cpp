#include <cstdio>
#include <cstring>

#include "core/numbers.h"
#include "core/working_state.h"
#include "midi/midi_port.h"
#include "midi/play_string.h"

namespace {

struct Dynamics {
  const char* sign;
  const char* word;
};
constexpr Dynamics kDynamics[] = {{"p", "piamo"},  {"pp", "pianissimo"}, {"f", "forté"},
                                  {"ff", "fortissimo"}, {"<", "diminuendo"}, {">", "crechendo"}};

struct Comment {
  char letter;
  const char* word;
};
// Indications that only name themselves.
constexpr Comment kComments[] = {{'c', "conseil"}, {'d', "doigté"},  {'h', "harmonie"},
                                 {'p', "paroles"}, {'r', "reprise"}};

void RunVoice(char* argument, char* word) {
  TWorkingState& ws = WorkingState;
  if (std::strcmp(argument, "g") == 0) {
    ws.Transpose = 0;
    CopyText(word, kShortText, "clef de sol");
  } else if (std::strcmp(argument, "f") == 0) {
    ws.Transpose = -9;
    CopyText(word, kShortText, "clef de fa");
  } else if (std::strcmp(argument, "u") == 0) {
    ws.Transpose = -11;
    CopyText(word, kShortText, "clef d'ut ligne 3");
  } else {
    int32_t n = ReadNumber(argument);
    if (n < 17) {
      ws.Channel = n;
      std::snprintf(word, kShortText, "voix %d", static_cast<int>(n));
    } else {
      ws.Velocity = n > 127 ? 127u : static_cast<uint32_t>(n);
      std::snprintf(word, kShortText, "volume %d", static_cast<int>(n));
    }
  }
}

}  // namespace

int RunIndication(const char* letter, char* argument, char* word) {
  TWorkingState& ws = WorkingState;
  word[0] = 0;
  char l = letter[0] && !letter[1] ? letter[0] : 0;
  for (const Comment& c : kComments) {
    if (l == c.letter) {
      CopyText(word, kShortText, c.word);
      return 0;
    }
  }
  switch (l) {
    case 'a':
      CopyText(ws.KeySignature, argument);
      CopyText(word, kShortText, "armature");
      break;
    case 'i':
      ws.Instrument = ReadNumber(argument);
      SendProgramChange(ws.Instrument);
      CopyText(word, kShortText, "instrument");
      break;
    case 'm': {
      ws.TimeNumerator = ReadNumber(argument);
      if (ws.TimeNumerator == 0) ws.TimeNumerator = 4;
      const char* slash = std::strchr(argument, '/');
      ws.TimeDenominator = slash ? ReadNumber(slash + 1) : 0;
      if (ws.TimeDenominator == 0) ws.TimeDenominator = 4;
      CopyText(word, kShortText, "mesure");
      break;
    }
    case 'n':
      for (const Dynamics& d : kDynamics) {
        if (std::strcmp(argument, d.sign) == 0) {
          CopyText(argument, kLongText, d.word);
          break;
        }
      }
      CopyText(word, kShortText, "nuance");
      break;
    case 'o': {
      int8_t octave = static_cast<int8_t>(ReadNumber(argument));
      ws.Octave = octave < 0 || octave > 8 ? 3 : octave;
      CopyText(word, kShortText, "octave");
      break;
    }
    case 't':
      ws.Transpose = static_cast<int8_t>(ReadNumber(argument));
      CopyText(word, kShortText, "transposition");
      break;
    case 'v':
      RunVoice(argument, word);
      break;
    default:
      CopyText(word, kShortText, "indication non traitée");
  }
  return 0;
}
