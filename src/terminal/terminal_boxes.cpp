#include "terminal/terminal_boxes.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "drivers/launcher.h"
#include "formats/encoding.h"
#include "formats/word_wrap.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/terminal_text.h"
#include "tablature/measure_player.h"

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

constexpr const char* kAnswerWords[] = {"oui=", "non=", "annuler=", "escape"};

bool IsLegend(const char* part) {
  for (const char* word : kAnswerWords)
    if (std::strstr(part, word)) return true;
  return false;
}

// A legend too wide for a line, one answer a line.
std::vector<std::string> LegendItems(const std::string& legend, size_t width) {
  if (width == 0 || formats::Utf8Length(legend) <= width) return {legend};
  std::vector<std::string> items;
  size_t start = 0;
  for (size_t at = 1; at < legend.size(); ++at) {
    if (legend[at - 1] != ' ') continue;
    for (const char* word : kAnswerWords) {
      if (legend.compare(at, std::strlen(word), word) != 0) continue;
      items.push_back(legend.substr(start, at - 1 - start));
      start = at;
    }
  }
  items.push_back(legend.substr(start));
  return items;
}

// "mesure 1 : notes 1 à 4" for the stepping's question, whose words are
// many for a braille line; any other text as it is.
std::string Shortened(const char* text) {
  int measure, first, last, end = 0;
  std::string format = std::string(kMeasurePrompt) + "%n";
  if (std::sscanf(text, format.c_str(), &measure, &first, &last, &end) != 3 || text[end] != 0) return text;
  char shorter[64];
  if (last < first) {
    std::snprintf(shorter, sizeof shorter, "mesure %d : aucune note", measure);
  } else if (last == first) {
    std::snprintf(shorter, sizeof shorter, "mesure %d : note %d", measure, first);
  } else {
    std::snprintf(shorter, sizeof shorter, "mesure %d : notes %d à %d", measure, first, last);
  }
  return shorter;
}

bool IsPath(const char* part) { return (StartsPath(part) || part[0] == '/') && !std::strchr(part, ' '); }

// The lines of `text`, each cut to the width.
void AddLines(std::vector<std::string>& lines, const std::string& text, size_t width) {
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\n', start);
    for (const std::string& line : formats::WrapLine(text.substr(start, end - start), width)) lines.push_back(line);
    if (end == std::string::npos) return;
    start = end + 1;
  }
}

}  // namespace

std::vector<std::string> BoxLines(const char* text, const char* caption, bool question, size_t width) {
  std::string shortText = Shortened(text);
  const char* ordered[2] = {question ? shortText.c_str() : caption, question ? caption : shortText.c_str()};
  if (IsPath(ordered[0]) && !IsPath(ordered[1])) std::swap(ordered[0], ordered[1]);
  std::vector<std::string> said, legend;
  for (const char* part : ordered) {
    std::string readable = Readable(part);
    if (!readable.empty()) (IsLegend(part) ? legend : said).push_back(readable);
  }
  size_t shared = width != 0 && width < kBrailleCells ? width : kBrailleCells;
  std::vector<std::string> lines;
  if (said.size() == 2 && said[0].find('\n') == std::string::npos && said[1].find('\n') == std::string::npos &&
      formats::Utf8Length(said[0]) + 3 + formats::Utf8Length(said[1]) <= shared) {
    lines.push_back(said[0] + " : " + said[1]);
  } else {
    for (const std::string& part : said) AddLines(lines, part, width);
  }
  for (const std::string& part : legend)
    for (const std::string& item : LegendItems(part, width)) AddLines(lines, item, width);
  return lines;
}

void SayOnTerminal(const std::string& utf8) {
  std::vector<std::string> lines;
  AddLines(lines, utf8, platform::TerminalColumns(STDOUT_FILENO));
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  platform::WriteUtf8(stdout, text);
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
