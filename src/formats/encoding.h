// Windows-1252 inside, UTF-8 outside: the only two conversions.
#pragma once
#include <cstddef>
#include <string>

namespace formats {

std::string Cp1252ToUtf8(const char* text);
std::string Cp1252ToUtf8(const char* text, size_t length);

// A character that Windows-1252 lacks becomes "?". Bytes that are not
// valid UTF-8 are taken as Windows-1252 already.
std::string Utf8ToCp1252(const std::string& text);

// True when the text is valid UTF-8 and Utf8ToCp1252 keeps every character
// of it (none becomes "?"): a file name that fails this would name another
// file.
bool FitsCp1252(const std::string& text);

// True when the bytes are valid UTF-8 and hold at least one multi-byte
// sequence. A sequence cut by the end of the bytes does not count against
// them when `truncatedOk` (the bytes are the start of a longer file).
bool IsMultiByteUtf8(const char* bytes, size_t length, bool truncatedOk);

// Decodes one UTF-8 sequence at bytes[0..length): the code point and its
// byte count, or 0 when the bytes there are not a valid sequence.
size_t DecodeUtf8(const unsigned char* bytes, size_t length, unsigned* codePoint);

// The Windows-1252 byte for a code point, or '?' when there is none.
unsigned char CodePointToCp1252(unsigned codePoint);

}  // namespace formats
