#include "tablature/dictionary.h"

#include <cstdio>
#include <cstring>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "formats/encoding.h"
#include "formats/file_bytes.h"
#include "platform/interrupt.h"
#include "platform/paths.h"

namespace {

// A DOS line ends with CR LF on disk and a single line feed in memory.
void DropCarriageReturn(char* line) {
  size_t n = std::strlen(line);
  if (n >= 2 && line[n - 2] == '\r' && line[n - 1] == '\n') {
    line[n - 2] = '\n';
    line[n - 1] = 0;
  }
}

// A line written in UTF-8 is turned into Windows-1252 in place (never
// longer), so that accented keys match the program's texts.
void Utf8LineToCp1252(char* line) {
  size_t n = std::strlen(line);
  if (!formats::IsMultiByteUtf8(line, n, true)) return;
  const unsigned char* in = reinterpret_cast<const unsigned char*>(line);
  size_t i = 0;
  size_t out = 0;
  while (i < n) {
    unsigned cp;
    size_t used = formats::DecodeUtf8(in + i, n - i, &cp);
    if (used == 0) break;  // a sequence cut by the end of the piece
    line[out++] = static_cast<char>(formats::CodePointToCp1252(cp));
    i += used;
  }
  line[out] = 0;
}

void Append(char* buffer, const char* piece) {
  size_t used = std::strlen(buffer);
  for (size_t i = 0; piece[i] && used < kLongText - 1; ++i) buffer[used++] = piece[i];
  buffer[used] = 0;
}

bool IsCloser(char c) { return c == ']' || c == '}'; }

void TranslateWord(const char* word, char opener, char* keys, char* translations, const char* path) {
  static char key[kLongText + 4];
  static char found[kLongText];
  std::snprintf(key, sizeof key, "[%s]", word);
  int length = LookupWord(key, found, path);
  if (opener == '[') {
    Append(keys, key);
  } else {
    Append(keys, "{");
    Append(keys, word);
    Append(keys, "}");
  }
  if (length == 0) return;
  if (opener == '[') {
    Append(translations, "(");
    Append(translations, found);
    Append(translations, ")");
  } else {
    Append(translations, found);
  }
}

}  // namespace

int LookupWord(const char* searchKey, char* found, const char* path) {
  found[0] = 0;
  std::FILE* f = formats::OpenRegularFile(platform::MapPath(path));
  if (!f) {
    ShowInfo("dictionnaire nontrouvé", path);
    return 0;
  }
  static char line[kLongText];
  int length = 0;
  while (std::fgets(line, sizeof line, f)) {
    platform::CheckInterrupted();
    DropCarriageReturn(line);
    Utf8LineToCp1252(line);
    const char* at = std::strstr(line, searchKey);
    if (at) {
      CopyText(found, kLongText, at + std::strlen(searchKey));
      length = static_cast<int>(std::strlen(found));
      break;
    }
  }
  std::fclose(f);
  return length;
}

int TranslateText(const char* text, char* keys, char* translations, const char* path) {
  keys[0] = 0;
  translations[0] = 0;
  if (!std::strchr(text, '[') && !std::strchr(text, '{')) return 0;
  static char word[kLongText];
  const char* p = text;
  while (*p) {
    char opener = *p++;
    if (opener != '[' && opener != '{') continue;
    size_t n = 0;
    for (;;) {
      char c = *p;
      if (c == ' ' || c == 0 || IsCloser(c)) {
        if (n > 0) {
          word[n] = 0;
          TranslateWord(word, opener, keys, translations, path);
          n = 0;
        }
        if (c == 0) break;
        ++p;
        if (IsCloser(c)) break;
      } else {
        if (n < kLongText - 1) word[n++] = c;
        ++p;
      }
    }
  }
  return 0;
}
