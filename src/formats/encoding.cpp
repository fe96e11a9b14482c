#include "formats/encoding.h"

namespace formats {
namespace {

// Code points of the bytes 0x80..0x9F; 0 where Windows-1252 leaves a hole.
constexpr unsigned kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Cp1252ToUtf8(const char* text, size_t length) {
  std::string out;
  out.reserve(length + length / 4);
  for (size_t i = 0; i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    unsigned cp = c;
    if (c >= 0x80 && c < 0xA0) cp = kHigh[c - 0x80] ? kHigh[c - 0x80] : 0xFFFD;
    AppendUtf8(out, cp);
  }
  return out;
}

std::string Cp1252ToUtf8(const char* text) {
  size_t n = 0;
  while (text[n]) ++n;
  return Cp1252ToUtf8(text, n);
}

size_t DecodeUtf8(const unsigned char* b, size_t length, unsigned* codePoint) {
  if (length == 0) return 0;
  unsigned c = b[0];
  size_t need;
  unsigned cp;
  if (c < 0x80) {
    *codePoint = c;
    return 1;
  } else if (c >= 0xC2 && c <= 0xDF) {
    need = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    need = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    need = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (length < need) return 0;
  for (size_t i = 1; i < need; ++i) {
    if ((b[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b[i] & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
  if ((need == 3 && cp < 0x800) || (need == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  *codePoint = cp;
  return need;
}

unsigned char CodePointToCp1252(unsigned cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (unsigned i = 0; i < 32; ++i)
    if (kHigh[i] == cp) return static_cast<unsigned char>(0x80 + i);
  return '?';
}

bool IsMultiByteUtf8(const char* bytes, size_t length, bool truncatedOk) {
  const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
  bool multi = false;
  size_t i = 0;
  while (i < length) {
    unsigned cp;
    size_t n = DecodeUtf8(b + i, length - i, &cp);
    if (n == 0) {
      // A lead byte whose sequence the end of the bytes cut off.
      if (truncatedOk && length - i < 4 && b[i] >= 0xC2 && b[i] <= 0xF4) {
        size_t k = i + 1;
        while (k < length && (b[k] & 0xC0) == 0x80) ++k;
        if (k == length) return multi;
      }
      return false;
    }
    if (n > 1) multi = true;
    i += n;
  }
  return multi;
}

std::string Utf8ToCp1252(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  const unsigned char* b = reinterpret_cast<const unsigned char*>(text.data());
  size_t i = 0;
  while (i < text.size()) {
    unsigned cp;
    size_t n = DecodeUtf8(b + i, text.size() - i, &cp);
    if (n == 0) {
      out += static_cast<char>(b[i]);
      ++i;
    } else {
      out += static_cast<char>(CodePointToCp1252(cp));
      i += n;
    }
  }
  return out;
}

// Exactly the text again after the round trip: no character became "?",
// and no byte outside UTF-8 was taken as Windows-1252 (a Latin-1 name
// would come back as the UTF-8 name of another file).
bool FitsCp1252(const std::string& text) {
  std::string converted = Utf8ToCp1252(text);
  return Cp1252ToUtf8(converted.data(), converted.size()) == text;
}

}  // namespace formats
