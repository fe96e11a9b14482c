#include "midi/play_string_text.h"

#include "core/numbers.h"

void LowercaseAscii(char* text) {
  for (char* p = text; *p; ++p)
    if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p - 'A' + 'a');
}

int32_t ReadNumberAt(const char* text, int count) {
  char digits[8];
  int i = 0;
  for (; i < count && i < 7 && text[i]; ++i) digits[i] = text[i];
  digits[i] = 0;
  return ReadNumber(digits);
}
