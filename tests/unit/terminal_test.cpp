#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/command_words.h"
#include "app/terminal_session.h"
#include "core/command_rows.h"
#include "core/command_table.h"
#include "terminal/terminal_boxes.h"
#include "terminal/terminal_keys.h"
#include "fake_clipboard.h"
#include "fakes/fakes.h"
#include "formats/encoding.h"
#include "formats/word_wrap.h"

namespace {

using Lines = std::vector<std::string>;

// Two names alike once case and accents are dropped would give the person
// the wrong command.
TEST(CommandWords, EachNameTypedReachesItsOwnCommand) {
  for (const TCommandRow& row : CommandRows()) {
    std::string line = std::string(row.name) + (row.parameter[0] ? " /a.tab" : "");
    TTypedCommand typed = ReadTypedCommand(line.c_str());
    if (row.windowOnly) {
      EXPECT_EQ("« " + std::string(row.name) + " » ne se fait que dans la fenêtre", typed.message) << line;
    } else {
      EXPECT_EQ(TTypedCommand::kRun, typed.kind) << line << ": " << typed.message;
      EXPECT_EQ(row.id, typed.id) << line;
    }
    EXPECT_STRNE("", row.help) << row.name;
  }
}

TEST(CommandWords, TypedLines) {
  const auto run = TTypedCommand::kRun;
  const auto help = TTypedCommand::kHelp;
  const auto nothing = TTypedCommand::kNothing;
  struct Case {
    const char* line;
    TTypedCommand::Kind kind;
    int id;
    const char* argument;
    int menu = -1;
  } cases[] = {
      {"gamme", run, 503, ""},
      {"  GAMME  ", run, 503, ""},
      {"gam", run, 503, ""},
      {"précédent", run, 603, ""},
      {"precedent", run, 603, ""},
      {"PRÉC", run, 603, ""},
      {"su", run, 602, ""},  // supprimer is the window's: not a candidate
      {"mesure", run, 601, ""},
      {"lecture mesure", run, 608, ""},
      {"jouer gamme", run, 500, ""},
      {"jouer-g", run, 500, ""},
      {"jouer presse papier", run, 611, ""},
      {"presse papier", run, 509, ""},
      {"a-propos", run, 2009, ""},
      {"q", run, 24310, ""},
      {"ouvrir /home/me/ma pièce.tab  ", run, 24332, "/home/me/ma pièce.tab"},
      {"ouv ~/a.tab", run, 24332, "~/a.tab"},
      {"503", run, 503, ""},
      {"24332 /a.tab", run, 24332, "/a.tab"},
      {"", nothing, 0, ""},
      {" \t ", nothing, 0, ""},
      {"aide", help, 0, ""},
      {"?", help, 0, ""},
      {"Aide gamme", help, 503, ""},
      {"? 503", help, 503, ""},
      {"aide jouer g", help, 500, ""},
      {"aide sauver", help, 24333, ""},
      {"aide harmonie", help, 607, ""},  // the command, not the menu Harm
      {"aide outils", help, 0, "", 5},
      {"aide Menu OUTILS", help, 0, "", 5},
      {"aide édit", help, 0, "", 1},
  };
  for (const Case& c : cases) {
    TTypedCommand typed = ReadTypedCommand(c.line);
    EXPECT_EQ(c.kind, typed.kind) << c.line << ": " << typed.message;
    EXPECT_EQ(c.id, typed.id) << c.line;
    EXPECT_EQ(c.argument, typed.argument) << c.line;
    EXPECT_EQ(c.menu, typed.menu) << c.line;
  }
}

TEST(CommandWords, RefusalsSayWhyInFrench) {
  struct Case {
    const char* line;
    const char* message;
  } cases[] = {
      {"jouer", "« jouer » est le début de jouer-gamme, jouer-accord, jouer-tout, jouer-presse-papier"},
      {"gamne", "« gamne » : commande inconnue, la plus proche est gamme (tapez aide)"},
      {"aide suivnt", "« suivnt » : commande inconnue, la plus proche est suivant (tapez aide)"},
      {"sauver", "« sauver » ne se fait que dans la fenêtre"},
      {"24333", "« sauver » ne se fait que dans la fenêtre"},
      {"999", "aucune commande ne porte le numéro 999 (tapez aide)"},
      {"aide 999", "aucune commande ne porte le numéro 999 (tapez aide)"},
      {"ouvrir", "il manque CHEMIN : ouvrir CHEMIN"},
      {"gamme majeure", "« gamme » s'emploie seul, sans « majeure »"},
  };
  for (const Case& c : cases) {
    TTypedCommand typed = ReadTypedCommand(c.line);
    EXPECT_EQ(TTypedCommand::kRefused, typed.kind) << c.line;
    EXPECT_EQ(c.message, typed.message) << c.line;
  }
}

TEST(CommandWords, HelpListsTheMenusThenEachMenusCommands) {
  // The overview: one line a menu, each fitting a 40-cell line, then how
  // to ask for more.
  Lines overview = HelpLines(0);
  ASSERT_EQ(Menus().size() + 2, overview.size());
  for (const std::string& line : overview) EXPECT_LE(formats::Utf8Length(formats::Cp1252ToUtf8(line.c_str())), 40u) << line;
  EXPECT_EQ("Harm : gammes, accords, cadences", overview[4]);
  EXPECT_EQ("aide MENU : ses commandes (aide harm)", overview[Menus().size()]);

  // Asked menu by menu, every command is listed once, by its name.
  std::multiset<std::string> listed, all;
  const std::string windowOnly = "dans la fenêtre seulement : ";
  for (size_t p = 0; p < Menus().size(); ++p) {
    Lines lines = MenuHelpLines(static_cast<int>(p));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(0u, lines[0].find("menu ")) << lines[0];
    for (size_t i = 1; i < lines.size(); ++i) {
      if (lines[i].compare(0, windowOnly.size(), windowOnly) != 0) {
        listed.insert(lines[i].substr(0, lines[i].find(' ')));
        continue;
      }
      std::string names = lines[i].substr(windowOnly.size()) + ", ";
      for (size_t start = 0, end; (end = names.find(", ", start)) != std::string::npos; start = end + 2)
        listed.insert(names.substr(start, end - start));
    }
  }
  for (const TCommandRow& row : CommandRows()) all.insert(row.name);
  EXPECT_EQ(all, listed);
  Lines harm = MenuHelpLines(ReadTypedCommand("aide harm").menu);
  EXPECT_EQ("menu Harm", harm[0]);
  EXPECT_EQ("gamme (F2, 503) : choisit une gamme et la joue", harm[5]);
  EXPECT_EQ((Lines{"menu Rechercher", "dans la fenêtre seulement : chercher, remplacer, chercher-suivant"}),
            MenuHelpLines(ReadTypedCommand("aide menu rechercher").menu));
  EXPECT_EQ((Lines{"gamme : choisit une gamme et la joue", "menu Harm, touche F2, numéro 503"}), HelpLines(503));
  EXPECT_EQ((Lines{"sauver : enregistre le texte de la fenêtre",
                   "menu Tabla, touche Ctrl+S, numéro 24333, dans la fenêtre seulement"}),
            HelpLines(24333));
}

using TerminalBoxes = PavTest;

TEST_F(TerminalBoxes, KeyWordsFirstLegendLastRealPaths) {
  const std::string data = root + "/orfeon/";
  struct Case {
    const char* text;
    const char* caption;
    bool question;
    Lines lines;
    size_t width = 0;
  } cases[] = {
      {"mesure 1 ", "c d", true, {"mesure 1 : c d"}},
      {"mesure 1 : jouer depuis la note 1 jusqu'a la note 4", "oui=suivant non=précédent annuler=fin", true,
       {"mesure 1 : notes 1 \xC3\xA0 4", "oui=suivant non=pr\xC3\xA9" "c\xC3\xA9" "dent annuler=fin"}, 40},
      {"mesure 3 : jouer depuis la note 9 jusqu'a la note 9", "", true, {"mesure 3 : note 9"}},
      {"mesure 1 : jouer depuis la note 1 jusqu'a la note 0", "", true, {"mesure 1 : aucune note"}},
      {"mesure 1 : jouer depuis la note 1 jusqu'a la note 4 et plus", "", true,
       {"mesure 1 : jouer depuis la note 1", "jusqu'a la note 4 et plus"}, 40},
      // Too wide for a line: cut between words, a legend between answers.
      {"presse papier inaccessible : la tablature courante n'y a pas été mise", "", false,
       {"presse papier inaccessible : la", "tablature courante n'y a pas \xC3\xA9t\xC3\xA9 mise"}, 40},
      {"c d e", "oui=jouer presse papier non=jouer et sauvegarder escape = quitter", true,
       {"c d e", "oui=jouer presse papier", "non=jouer et sauvegarder", "escape = quitter"}, 40},
      {"oui=augmenter non=diminuer escape=saisie", "tempo 120", true,
       {"tempo 120", "oui=augmenter non=diminuer escape=saisie"}},
      {"", "croche", true, {"croche"}},
      {"tablature", "/home/me/a.tab", false, {"tablature : /home/me/a.tab"}},
      {"\\orfeon\\midiinit.dev", "impossible d'ouvrir en lecture", false,
       {"impossible d'ouvrir en lecture", data + "midiinit.dev"}},
      {"ligne 1\r\nligne\t2\n", "melvane", false, {"melvane", "ligne 1", "ligne 2"}},
      {"do mi sol", "degré", false, {"degr\xC3\xA9 : do mi sol"}},
      {"la f", "Traduction avec le dictionnaire \\orfeon\\lexiton.dic", false,
       {"Traduction avec le dictionnaire " + data + "lexiton.dic", "la f"}},
      {"", "", false, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.lines, drivers::BoxLines(c.text, c.caption, c.question, c.width)) << c.text << " | " << c.caption;
  using drivers::TProgramStart;
  const char kPage[] = "start \\orfeon\\tutoriel.html";
  const char kProgram[] = "\\orfeon\\clipsend.exe";
  EXPECT_EQ("page ouverte : " + data + "tutoriel.html", drivers::ProgramLine(kPage, TProgramStart::kStarted));
  EXPECT_EQ("page \xC3\xA0 lire dans un navigateur : " + data + "tutoriel.html",
            drivers::ProgramLine(kPage, TProgramStart::kNoDisplay));
  EXPECT_EQ("programme lanc\xC3\xA9 : " + data + "clipsend", drivers::ProgramLine(kProgram, TProgramStart::kStarted));
  EXPECT_EQ("impossible de lancer : " + data + "clipsend", drivers::ProgramLine(kProgram, TProgramStart::kFailed));
}

TEST(WordWrap, CutsBetweenWordsNeverInside) {
  struct Case {
    const char* line;
    size_t width;
    Lines lines;
  } cases[] = {
      {"mesure 2 : 3 temps au lieu de 4", 0, {"mesure 2 : 3 temps au lieu de 4"}},
      {"mesure 2 : 3 temps au lieu de 4", 16, {"mesure 2 : 3", "temps au lieu de", "4"}},
      {"\xC2\xAB zz \xC2\xBB ignor\xC3\xA9, mesure 2", 14, {"\xC2\xAB zz \xC2\xBB ignor\xC3\xA9,", "mesure 2"}},
      {"  retrait  gard\xC3\xA9", 30, {"  retrait  gard\xC3\xA9"}},
      {"  retrait  gard\xC3\xA9 ici", 12, {"  retrait", "gard\xC3\xA9 ici"}},
      {"fichier : /home/anne/orfeon/sortie.mid", 17, {"fichier :", "/home/anne/", "orfeon/sortie.mid"}},
      {"sans/barre/assez/tot abcdefghijkl", 8, {"sans/", "barre/", "assez/", "tot", "abcdefgh", "ijkl"}},
      {"", 10, {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.lines, formats::WrapLine(c.line, c.width)) << c.line << " / " << c.width;
}

TEST(TerminalKeys, OneKeyAnswers) {
  struct Case {
    int key, answer;
  } cases[] = {{'o', 6}, {'O', 6}, {'y', 6}, {'\n', 6}, {'\r', 6}, {'n', 7}, {'N', 7},
               {0x1B, 2}, {'a', -1}, {' ', -1}, {0x03, -1}, {0xE9, -1}};
  for (const Case& c : cases) EXPECT_EQ(c.answer, drivers::AnswerFromKey(c.key)) << c.key;
}

std::vector<std::string> ran;
void Record(const char* argument) { ran.push_back(argument); }

using TerminalSession = PavTest;

TEST_F(TerminalSession, StartsWithoutContradictionThenRunsNamesUntilQuitter) {
  ran.clear();
  RegisterCommand(kScaleCommand, Record);
  RegisterCommand(kOpenCommand, Record);
  std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", "/home/anne", 1);
  input.lines = {"gam", "aide gamme", "xyz", "ouvrir ~/a.tab", "quitter", "gamme"};
  testing::internal::CaptureStderr();
  EXPECT_EQ(0, RunTerminalSession());
  std::string said = testing::internal::GetCapturedStderr();
  setenv("HOME", home.c_str(), 1);
  EXPECT_EQ((std::vector<std::string>{"", "/home/anne/a.tab"}), ran);
  EXPECT_EQ(1u, input.lines.size()) << "nothing is read after quitter";
  EXPECT_EQ(0u, said.find("PavSdi \xE2\x80\x94 tapez aide pour la liste des commandes\n")) << said;
  EXPECT_NE(std::string::npos, said.find("menu Harm, touche F2"));
  EXPECT_NE(std::string::npos, said.find("xyz \xC2\xBB : commande inconnue"));
  // No clipboard here: said once, and its companion is not started to fail.
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("presse papier inaccessible : la tablature courante n'y a pas été mise", dialogs.boxes[0].text);
  EXPECT_TRUE(programs.started.empty());
}

TEST_F(TerminalSession, WithAClipboardTheTablatureGoesThere) {
  FakeClipboard clipboard;
  fakes::Use(&clipboard);
  input.lines = {};
  testing::internal::CaptureStderr();
  EXPECT_EQ(0, RunTerminalSession());
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("la tablature courante est dans le presse papier", dialogs.boxes[0].text);
  EXPECT_EQ((std::vector<std::string>{"\\orfeon\\clipsend.exe"}), programs.started);
  EXPECT_FALSE(clipboard.isOpen);
  fakes::Use(static_cast<platform::Clipboard*>(nullptr));
}

}  // namespace
