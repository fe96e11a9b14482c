#include <cstring>

#include "core/working_state.h"
#include "midi/play_string.h"
#include "midi/play_string_text.h"

namespace {

constexpr char kAccidentals[] = "+-0*\xE1";

bool IsAccidental(char c) { return c != 0 && std::strchr(kAccidentals, c) != nullptr; }

// The key signature plus one accidental for each of the seven letters.
constexpr int kBarStateSize = kShortText + 16;

// Writes into a buffer of kLongText characters, dropping what does not fit.
struct Writer {
  char* out;
  int length = 0;
  void Put(char c) {
    if (length >= kLongText - 1) return;
    out[length++] = c;
    out[length] = 0;
  }
};

void AppendChar(char* text, int size, char c) {
  int n = static_cast<int>(std::strlen(text));
  if (n >= size - 1) return;
  text[n] = c;
  text[n + 1] = 0;
}

}  // namespace

void ApplyKeySignature(char* text, char* out) {
  TWorkingState& ws = WorkingState;
  char bar[kBarStateSize];
  CopyText(bar, ws.KeySignature);
  Writer w{out};
  out[0] = 0;
  // The blank gives a note letter at the very end a following character.
  AppendChar(text, kLongText, ' ');
  LowercaseAscii(text);
  for (int i = 0; text[i]; ++i) {
    char c = text[i];
    if (c == 'i') {
      // The indication runs to its ":" included, or to the end of the text.
      int start = i + 1;
      int end = start;
      while (text[end] && text[end] != ':') ++end;
      int last = text[end] ? end : end - 1;
      if (text[start] == 'a') {
        char signature[kShortText];
        int n = 0;
        for (int j = start + 1; j < last && n < kShortText - 1; ++j) signature[n++] = text[j];
        signature[n] = 0;
        CopyText(ws.KeySignature, signature);
        CopyText(bar, ws.KeySignature);
      } else {
        w.Put('i');
        for (int j = start; j <= last; ++j) w.Put(text[j]);
      }
      if (last > i) i = last;
    } else if (c == '|' || c == '\r' || c == '\n') {
      w.Put(c);
      CopyText(bar, ws.KeySignature);
    } else if (c >= 'a' && c <= 'g') {
      char next = text[i + 1];
      bool accidental = IsAccidental(next);
      char* at = std::strchr(bar, c);
      w.Put(c);
      if (accidental) {
        // An explicit accidental wins and holds for the rest of the bar.
        w.Put(next);
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
        w.Put(at[1]);
      }
    } else {
      w.Put(c);  // rests take no accidental
    }
  }
}
