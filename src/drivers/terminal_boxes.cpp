#include "drivers/terminal_boxes.h"

#include <cstring>

#include "drivers/launcher.h"
#include "formats/encoding.h"
#include "platform/paths.h"

namespace drivers {
namespace {

constexpr size_t kBrailleCells = 40;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A word of the program's own paths ("\orfeon\x", ".\x").
bool StartsPath(const char* p) { return p[0] == '\\' || (p[0] == '.' && p[1] == '\\'); }

// The part in UTF-8 with its paths mapped, tabs as blanks, without carriage
// returns and without blanks around it.
std::string Readable(const char* part) {
  std::string cp1252;
  std::string out;
  for (const char* p = part; *p;) {
    if (StartsPath(p) && (p == part || IsBlank(p[-1]))) {
      out += formats::Cp1252ToUtf8(cp1252.c_str());
      cp1252.clear();
      const char* end = p;
      while (*end && !IsBlank(*end)) ++end;
      out += platform::MapPath(std::string(p, end).c_str());
      p = end;
      continue;
    }
    if (*p == '\t') cp1252 += ' ';
    else if (*p != '\r') cp1252 += *p;
    ++p;
  }
  out += formats::Cp1252ToUtf8(cp1252.c_str());
  size_t first = 0, last = out.size();
  while (first < last && IsBlank(out[first])) ++first;
  while (last > first && IsBlank(out[last - 1])) --last;
  return out.substr(first, last - first);
}

bool IsLegend(const char* part) {
  for (const char* word : {"oui=", "non=", "annuler=", "escape"})
    if (std::strstr(part, word)) return true;
  return false;
}

bool IsPath(const char* part) { return (StartsPath(part) || part[0] == '/') && !std::strchr(part, ' '); }

size_t Columns(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

void AddLines(std::vector<std::string>& lines, const std::string& text) {
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return;
    start = end + 1;
  }
}

}  // namespace

std::vector<std::string> BoxLines(const char* text, const char* caption, bool question) {
  const char* ordered[2] = {question ? text : caption, question ? caption : text};
  if (IsPath(ordered[0]) && !IsPath(ordered[1])) std::swap(ordered[0], ordered[1]);
  std::vector<std::string> said, legend;
  for (const char* part : ordered) {
    std::string readable = Readable(part);
    if (!readable.empty()) (IsLegend(part) ? legend : said).push_back(readable);
  }
  std::vector<std::string> lines;
  if (said.size() == 2 && said[0].find('\n') == std::string::npos && said[1].find('\n') == std::string::npos &&
      Columns(said[0]) + 3 + Columns(said[1]) <= kBrailleCells) {
    lines.push_back(said[0] + " : " + said[1]);
  } else {
    for (const std::string& part : said) AddLines(lines, part);
  }
  for (const std::string& part : legend) AddLines(lines, part);
  return lines;
}

std::string ProgramLine(const char* commandLine, TProgramStart start) {
  std::vector<std::string> words = ResolveCommandLine(commandLine);
  if (words.empty()) return "";
  bool page = words[0] == kPageOpener && words.size() > 1;
  const std::string& where = page ? words[1] : words[0];
  const char* what = "";
  switch (start) {
    case TProgramStart::kStarted: what = page ? "page ouverte : " : "programme lancé : "; break;
    case TProgramStart::kFailed: what = page ? "impossible d'ouvrir la page : " : "impossible de lancer : "; break;
    case TProgramStart::kNoDisplay: what = page ? "page à lire dans un navigateur : " : "impossible de lancer : "; break;
  }
  return formats::Cp1252ToUtf8(what) + where;
}

}  // namespace drivers
