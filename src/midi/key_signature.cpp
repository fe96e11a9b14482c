#include <cstring>
#include <string>

#include "core/working_state.h"
#include "midi/play_string.h"
#include "midi/play_string_text.h"

namespace {

constexpr char kAccidentals[] = "+-0*\xE1";

bool IsAccidental(char c) { return c != 0 && std::strchr(kAccidentals, c) != nullptr; }

// The key signature plus one accidental for each of the seven letters.
constexpr int kBarStateSize = kShortText + 16;

void AppendChar(char* text, int size, char c) {
  int n = static_cast<int>(std::strlen(text));
  if (n >= size - 1) return;
  text[n] = c;
  text[n + 1] = 0;
}

// The translation of `text`, already lowercased and ended by a blank.
std::string Translate(const char* text) {
  TWorkingState& ws = WorkingState;
  char bar[kBarStateSize];
  CopyText(bar, ws.KeySignature);
  std::string out;
  for (size_t i = 0; text[i]; ++i) {
    char c = text[i];
    if (c == 'i') {
      // The indication runs to its ":" included, or to the end of the text.
      size_t start = i + 1;
      size_t end = start;
      while (text[end] && text[end] != ':') ++end;
      size_t last = text[end] ? end : end - 1;
      if (text[start] == 'a') {
        char signature[kShortText];
        int n = 0;
        for (size_t j = start + 1; j < last && n < kShortText - 1; ++j) signature[n++] = text[j];
        signature[n] = 0;
        CopyText(ws.KeySignature, signature);
        CopyText(bar, ws.KeySignature);
      } else {
        out.push_back('i');
        for (size_t j = start; j <= last; ++j) out.push_back(text[j]);
      }
      if (last > i) i = last;
    } else if (c == '|' || c == '\r' || c == '\n') {
      out.push_back(c);
      CopyText(bar, ws.KeySignature);
    } else if (c >= 'a' && c <= 'g') {
      char next = text[i + 1];
      bool accidental = IsAccidental(next);
      char* at = std::strchr(bar, c);
      out.push_back(c);
      if (accidental) {
        // An explicit accidental wins and holds for the rest of the bar.
        out.push_back(next);
        ++i;
        if (!at) {
          AppendChar(bar, kBarStateSize, c);
          AppendChar(bar, kBarStateSize, next);
        } else if (at[1]) {
          at[1] = next;
        } else {
          AppendChar(bar, kBarStateSize, next);
        }
      } else if (at && at[1]) {
        out.push_back(at[1]);
      }
    } else {
      out.push_back(c);  // rests take no accidental
    }
  }
  return out;
}

}  // namespace

void ApplyKeySignature(char* text, char* out) {
  // The blank gives a note letter at the very end a following character.
  AppendChar(text, kLongText, ' ');
  LowercaseAscii(text);
  CopyText(out, kLongText, Translate(text).c_str());
}

std::string ApplyKeySignature(std::string text) {
  text += ' ';
  LowercaseAscii(text.data());
  return Translate(text.c_str());
}
