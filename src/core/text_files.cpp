#include "core/text_files.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/command_table.h"
#include "core/prompts.h"
#include "formats/encoding.h"
#include "formats/file_bytes.h"
#include "formats/host_path.h"
#include "formats/smf_writer.h"
#include "platform/paths.h"

namespace {

constexpr int kPageChars = 2048;

// A path and the reason it could not be written.
constexpr int kPathText = 4096 + 64;

// How much of a file is looked at to tell UTF-8 from Windows-1252.
constexpr size_t kSniffSize = 64 * 1024;
char sniff[kSniffSize];

// Next character of the file in Windows-1252, CR LF read as one line feed;
// EOF at the end.
int NextChar(FILE* f, bool utf8) {
  int c = std::fgetc(f);
  if (c == EOF) return EOF;
  if (c == '\r') {
    int next = std::fgetc(f);
    if (next == '\n') return '\n';
    if (next != EOF) std::ungetc(next, f);
    return '\r';
  }
  if (!utf8 || c < 0x80) return c;
  unsigned char seq[4] = {static_cast<unsigned char>(c)};
  size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
  size_t got = 1;
  while (got < need) {
    int more = std::fgetc(f);
    if (more == EOF) break;
    if ((more & 0xC0) != 0x80) {
      std::ungetc(more, f);
      break;
    }
    seq[got++] = static_cast<unsigned char>(more);
  }
  unsigned cp;
  if (formats::DecodeUtf8(seq, got, &cp) == got) return formats::CodePointToCp1252(cp);
  return '?';
}

}  // namespace

int ReadTextPage(char* destination, int page, const char* path) {
  destination[0] = 0;
  FILE* f = formats::OpenRegularFile(platform::MapPath(path));
  if (!f) {
    ShowInfo(path, "impossible d'ouvrir en lecture");
    return 0;
  }
  size_t sniffed = std::fread(sniff, 1, kSniffSize, f);
  bool longer = sniffed == kSniffSize;
  bool utf8 = formats::IsMultiByteUtf8(sniff, sniffed, longer);
  std::rewind(f);
  if (utf8 && sniffed >= 3 && static_cast<unsigned char>(sniff[0]) == 0xEF &&
      static_cast<unsigned char>(sniff[1]) == 0xBB && static_cast<unsigned char>(sniff[2]) == 0xBF)
    std::fseek(f, 3, SEEK_SET);

  long skip = page > 1 ? static_cast<long>(page - 1) * kPageChars : 0;
  while (skip > 0 && NextChar(f, utf8) != EOF) --skip;

  int taken = 0;
  int length = 0;
  while (taken < kPageChars) {
    int c = NextChar(f, utf8);
    if (c == EOF) break;
    ++taken;
    if (c != 0) destination[length++] = static_cast<char>(c);
  }
  destination[length] = 0;
  std::fclose(f);
  return taken;
}

int WriteTextFile(const char* text, const char* path) {
  std::string dos;
  for (const char* p = text; *p; ++p) {
    if (*p == '\n') dos += '\r';
    dos += *p;
  }
  if (formats::WriteFileAtomically(platform::MapPath(path), dos.data(), dos.size())) return 0;
  ShowWriteFailure(path, errno);
  return -1;
}

void RemoveTextFile(const char* path) {
  std::error_code error;
  std::filesystem::path file = formats::HostPath(platform::MapPath(path));
  if (!std::filesystem::is_directory(file, error)) std::filesystem::remove(file, error);
}

void ShowWriteFailure(const char* path, int error) {
  const char* reason;
  switch (error) {
    case ENOSPC:
    case EDQUOT: reason = "le disque est plein"; break;
    case EACCES:
    case EPERM: reason = "accès refusé"; break;
    case EROFS: reason = "le disque est en lecture seule"; break;
    case ENOENT:
    case ENOTDIR: reason = "le répertoire n'existe pas"; break;
    case EISDIR: reason = "c'est un répertoire"; break;
    case EFBIG: reason = "le fichier est trop grand"; break;
    default: reason = "erreur d'écriture"; break;
  }
  char text[kPathText];
  std::snprintf(text, sizeof text, "%s\n%s", path, reason);
  // A recording written at every measure fails at every measure: the
  // user hears it once per command.
  static unsigned saidIn = ~0U;
  static std::string said;
  if (saidIn == CommandsStarted() && said == text) return;
  saidIn = CommandsStarted();
  said = text;
  ShowInfo(text, "impossible d'écrire");
}

void MidText(char* destination, const char* source, int start, int count) {
  destination[0] = 0;
  if (count <= 0 || start <= 0) return;
  int i = 0;
  while (i < start - 1 && source[i]) ++i;
  if (i < start - 1 || source[i] == 0) return;
  int n = 0;
  while (n < count && source[i + n]) {
    destination[n] = source[i + n];
    ++n;
  }
  destination[n] = 0;
}
