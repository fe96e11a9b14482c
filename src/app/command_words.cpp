#include "app/command_words.h"

#include <algorithm>
#include <cstring>

#include "app/command_loop.h"
#include "core/command_rows.h"

namespace {

// "jouer presse papier" is the longest name typed as separate words.
constexpr int kMostWordsInAName = 3;

// Lower case without accents, Windows-1252: "Précédent" -> "precedent".
std::string Fold(const std::string& text) {
  static const char kLetters[] = "aaaaaaaceeeeiiiidnooooo*ouuuuyps"
                                 "aaaaaaaceeeeiiiidnooooo/ouuuuypy";
  std::string folded;
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0xC0) folded += kLetters[u - 0xC0];
    else if (c >= 'A' && c <= 'Z') folded += static_cast<char>(c - 'A' + 'a');
    else folded += c;
  }
  return folded;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

struct TSpan {
  size_t start, end;
};

std::vector<TSpan> SplitWords(const char* line) {
  std::vector<TSpan> words;
  size_t n = std::strlen(line);
  for (size_t i = 0; i < n;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i == n) break;
    size_t start = i;
    while (i < n && !IsBlank(line[i])) ++i;
    words.push_back({start, i});
  }
  return words;
}

// `count` words from `first`, joined by "-" and folded.
std::string Joined(const char* line, const std::vector<TSpan>& words, size_t first, size_t count) {
  std::string name;
  for (size_t i = first; i < first + count; ++i) {
    if (i > first) name += '-';
    name.append(line + words[i].start, words[i].end - words[i].start);
  }
  return Fold(name);
}

int Distance(const std::string& a, const std::string& b) {
  std::vector<int> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
  for (size_t i = 1; i <= a.size(); ++i) {
    int diagonal = row[0];
    row[0] = static_cast<int>(i);
    for (size_t j = 1; j <= b.size(); ++j) {
      int above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string Quoted(const std::string& typed) { return "« " + typed + " »"; }

std::string UnknownMessage(const std::string& typed) {
  const char* closest = "aide";
  int best = Distance(Fold(typed), closest);
  for (const TCommandRow& row : CommandRows()) {
    int d = Distance(Fold(typed), Fold(row.name));
    if (d < best) {
      best = d;
      closest = row.name;
    }
  }
  return Quoted(typed) + " : commande inconnue, la plus proche est " + closest + " (tapez aide)";
}

struct TFound {
  const TCommandRow* row;  // null: `message` says why
  size_t words;              // how many typed words the name took
  std::string message;
};

// The command named by the words from `first`: a whole name first, the
// longest one; then the one name they begin. Names of the window only are
// taken whole, never from a beginning.
TFound FindByName(const char* line, const std::vector<TSpan>& words, size_t first) {
  size_t most = std::min<size_t>(kMostWordsInAName, words.size() - first);
  for (size_t count = most; count >= 1; --count) {
    std::string typed = Joined(line, words, first, count);
    for (const TCommandRow& row : CommandRows())
      if (Fold(row.name) == typed) return {&row, count, ""};
  }
  for (size_t count = most; count >= 1; --count) {
    std::string typed = Joined(line, words, first, count);
    std::vector<const TCommandRow*> found;
    for (const TCommandRow& row : CommandRows())
      if (!row.windowOnly && Fold(row.name).compare(0, typed.size(), typed) == 0) found.push_back(&row);
    if (found.size() == 1) return {found[0], count, ""};
    if (found.size() > 1 && count == 1) {
      std::string message = Quoted(std::string(line + words[first].start, words[first].end - words[first].start)) +
                            " est le début de";
      for (size_t i = 0; i < found.size(); ++i) message += std::string(i ? ", " : " ") + found[i]->name;
      return {nullptr, 0, message};
    }
  }
  return {nullptr, 0, UnknownMessage(std::string(line + words[first].start, words[first].end - words[first].start))};
}

TTypedCommand Refused(const std::string& message) { return {TTypedCommand::kRefused, 0, "", message}; }

std::string WindowOnlyMessage(const TCommandRow& row) {
  return Quoted(row.name) + " ne se fait que dans la fenêtre";
}

TTypedCommand ByNumber(const char* line) {
  int id;
  const char* argument;
  ParseCommandLine(line, &id, &argument);
  const TCommandRow* row = FindCommandRow(id);
  if (!row) return Refused("aucune commande ne porte le numéro " + std::to_string(id) + " (tapez aide)");
  if (row->windowOnly) return Refused(WindowOnlyMessage(*row));
  return {TTypedCommand::kRun, id, argument, ""};
}

std::string MenuTitle(const char* title) {
  std::string text;
  for (const char* p = title; *p; ++p)
    if (*p != '&') text += *p;
  return text;
}

// The menu named by the words from `first` ("outils", "menu outils"), or -1.
int FindMenu(const char* line, const std::vector<TSpan>& words, size_t first) {
  if (words.size() - first == 2 && Joined(line, words, first, 1) == "menu") ++first;
  if (words.size() - first != 1) return -1;
  std::string typed = Joined(line, words, first, 1);
  for (size_t p = 0; p < Menus().size(); ++p)
    if (Fold(MenuTitle(Menus()[p].title)) == typed) return static_cast<int>(p);
  return -1;
}

TTypedCommand Help(const char* line, const std::vector<TSpan>& words) {
  if (words.size() == 1) return {TTypedCommand::kHelp, 0, "", ""};
  if (int menu = FindMenu(line, words, 1); menu >= 0) return {TTypedCommand::kHelp, 0, "", "", menu};
  int id;
  const char* rest;
  if (ParseCommandLine(line + words[1].start, &id, &rest)) {
    if (FindCommandRow(id)) return {TTypedCommand::kHelp, id, "", ""};
    return Refused("aucune commande ne porte le numéro " + std::to_string(id) + " (tapez aide)");
  }
  TFound found = FindByName(line, words, 1);
  if (!found.row) return Refused(found.message);
  return {TTypedCommand::kHelp, found.row->id, "", ""};
}

// The key the menu shows after its text, "" when none.
const char* KeyOf(const TCommandRow& row) {
  const char* tab = std::strchr(row.text, '\t');
  return tab ? tab + 1 : "";
}

std::string Usage(const TCommandRow& row) {
  return row.parameter[0] ? std::string(row.name) + " " + row.parameter : row.name;
}

}  // namespace

TTypedCommand ReadTypedCommand(const char* line) {
  std::vector<TSpan> words = SplitWords(line);
  if (words.empty()) return {TTypedCommand::kNothing, 0, "", ""};
  std::string first = Fold(std::string(line + words[0].start, words[0].end - words[0].start));
  if (first == "aide" || first == "?") return Help(line, words);
  int id;
  const char* argument;
  if (ParseCommandLine(line, &id, &argument)) return ByNumber(line);
  TFound found = FindByName(line, words, 0);
  if (!found.row) return Refused(found.message);
  const TCommandRow& row = *found.row;
  if (row.windowOnly) return Refused(WindowOnlyMessage(row));
  std::string rest = found.words < words.size() ? std::string(line + words[found.words].start) : "";
  while (!rest.empty() && IsBlank(rest.back())) rest.pop_back();
  if (row.parameter[0] && rest.empty())
    return Refused(std::string("il manque ") + row.parameter + " : " + Usage(row));
  if (!row.parameter[0] && !rest.empty())
    return Refused(Quoted(row.name) + " s'emploie seul, sans " + Quoted(rest));
  return {TTypedCommand::kRun, row.id, rest, ""};
}

std::vector<std::string> HelpLines(int id) {
  std::vector<std::string> lines;
  if (id != 0) {
    const TCommandRow* row = FindCommandRow(id);
    if (!row) return lines;
    lines.push_back(Usage(*row) + " : " + row->help);
    std::string where = "menu " + MenuTitle(Menus()[row->menu].title);
    if (KeyOf(*row)[0]) where += std::string(", touche ") + KeyOf(*row);
    where += ", numéro " + std::to_string(id);
    if (row->windowOnly) where += ", dans la fenêtre seulement";
    lines.push_back(where);
    return lines;
  }
  for (const TMenu& menu : Menus()) lines.push_back(MenuTitle(menu.title) + " : " + menu.summary);
  lines.push_back("aide MENU : ses commandes (aide harm)");
  lines.push_back("aide NOM : une commande (aide gamme)");
  return lines;
}

std::vector<std::string> MenuHelpLines(int menu) {
  std::vector<std::string> lines;
  if (menu < 0 || static_cast<size_t>(menu) >= Menus().size()) return lines;
  const TMenu& shown = Menus()[static_cast<size_t>(menu)];
  lines.push_back("menu " + MenuTitle(shown.title));
  std::string windowOnly;
  for (const TCommandRow& row : shown.rows) {
    if (row.windowOnly) {
      windowOnly += std::string(windowOnly.empty() ? "" : ", ") + row.name;
      continue;
    }
    std::string keys = KeyOf(row)[0] ? std::string(KeyOf(row)) + ", " : "";
    lines.push_back(Usage(row) + " (" + keys + std::to_string(row.id) + ") : " + row.help);
  }
  if (!windowOnly.empty()) lines.push_back("dans la fenêtre seulement : " + windowOnly);
  return lines;
}
