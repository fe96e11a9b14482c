// The check of a tablature: each problem at its measure and column, none
// for correct texts, and the working state and the device left untouched.
#include <string>

#include "core/prompts.h"
#include "core/working_state.h"
#include "fakes/fakes.h"
#include "tablature/tablature_check.h"

namespace {

class TablatureCheck : public PavTest {
 protected:
  void SetUp() override {
    PavTest::SetUp();
    OpenPortForReading();
  }
  std::string Report(const char* text, int* problems = nullptr) {
    char report[kLongText];
    int n = CheckTablature(text, report, kLongText);
    if (problems) *problems = n;
    return report;
  }
};

TEST_F(TablatureCheck, FindsEachProblemAtItsMeasureAndColumn) {
  struct Case {
    const char* text;
    int problems;
    const char* report;
  } cases[] = {
      {"zz# w 99x q", 4,
       "4 problèmes\n"
       "mesure 1, ligne 1, colonne 1 : « zz# » ignoré\n"
       "mesure 1, ligne 1, colonne 5 : « w » ignoré\n"
       "mesure 1, ligne 1, colonne 9 : « x » ignoré\n"
       "mesure 1, ligne 1, colonne 11 : « q » ignoré"},
      {"c d e f | g a b\nc d e f g", 2,
       "2 problèmes\nmesure 2 : 3 temps au lieu de 4\nmesure 3 : 5 temps au lieu de 4"},
      // The time signature in force, from its indication on.
      {"im3/4: c d e | f g | 8a b c d e f", 1, "1 problème\nmesure 2 : 2 temps au lieu de 3"},
      {"im6/8: 8c d e 4f. | 6c d e", 1, "1 problème\nmesure 2 : 4 temps au lieu de 6"},
      // A dot belongs to the note before it.
      {"c d 2.e f", 1, "1 problème\nmesure 1 : 6,5 temps au lieu de 4"},
      // A group counts for its first note.
      {"c (c e g | c d e f) g", 3,
       "3 problèmes\n"
       "mesure 1, ligne 1, colonne 3 : groupe « ( » non fermé dans sa mesure\n"
       "mesure 1 : anacrouse de 2 temps\n"
       "mesure 2, ligne 1, colonne 19 : « ) » ferme un groupe non ouvert\n"
       "mesure 2 : 5 temps au lieu de 4"},
      // "ox" is octave 0, where c is out of reach.
      {"t20 o9 c d e f | ox c d e f", 4,
       "4 problèmes\n"
       "mesure 1, ligne 1, colonne 1 : tempo « t20 » ignoré (de t31 à t239)\n"
       "mesure 1, ligne 1, colonne 5 : octave « o9 » ignorée (de o0 à o8)\n"
       "mesure 2, ligne 1, colonne 18 : « ox » lu comme octave o0\n"
       "mesure 2, ligne 1, colonne 21 : note « c » hors de portée"},
      {"o0 c c- d e | io12: f g a b", 3,
       "3 problèmes\n"
       "mesure 1, ligne 1, colonne 4 : note « c » hors de portée\n"
       "mesure 1, ligne 1, colonne 6 : note « c » hors de portée\n"
       "mesure 2, ligne 1, colonne 15 : octave « io12: » remplacée par 3 (de 0 à 8)"},
      // A line end swallowed by "o" stays out of the report's line.
      {"o\n", 1, "1 problème\nmesure 1, ligne 1, colonne 1 : « o » lu comme octave o0"},
      {"ix a: mz c d e f | ic oublié c d", 3,
       "3 problèmes\n"
       "mesure 1, ligne 1, colonne 1 : indication « ix » inconnue\n"
       "mesure 1, ligne 1, colonne 7 : marque « mz » inconnue\n"
       "mesure 2, ligne 1, colonne 20 : indication sans « : » final, elle prend tout le reste du texte"},
      // An anacrusis is named, not counted; the last measure completes it.
      {"4g | c d e f | g a b", 0, "aucune erreur\nmesure 1 : anacrouse de 1 temps"},
      {"8g a | 4c d e f | g a", 1, "1 problème\nmesure 1 : anacrouse de 1 temps\nmesure 3 : 2 temps au lieu de 4"},
  };
  for (const Case& c : cases) {
    int problems = -1;
    EXPECT_EQ(c.report, Report(c.text, &problems)) << c.text;
    EXPECT_EQ(c.problems, problems) << c.text;
  }
}

TEST_F(TablatureCheck, CorrectTablaturesHaveNoProblem) {
  const char* correct[] = {
      // The demo tablature, as read (line ends become line feeds).
      "iaf+:ic sol majeur, un di\xE8se \xE0 la cl\xE9:t100 o5 4g a b >c |\n8d c < b a 4g p4 |\n"
      "(gb>d) ms 8g a b >c < mn 4d |\nms 8b a g f mn 4e d |\n2(dfa) 2(<g b >d) |\n",
      // The help pages' examples.
      "t90 ia f+: ic main droite: o4 4g a b >c | 2d 4c b | 1a",
      "o4 4c d e f | g a b >c\n2g 4e c | 1c",
      "ic lentement et li\xE9: ml o4 4c d e f | g a b >c",
      "f+ b- f0 c | 4c. 8d 2c | 2c 4d 8e f | t120 4(c e g) ml c d mn e | mp c d e f",
      "ia f+c+: id 1 2 3: ih5: ih[sol]: ii41: im3/4: inpp: io4: ip paroles: it2: ivg: ivf: ivu: iv3: iv100: c d e",
      "",
  };
  for (const char* text : correct) EXPECT_EQ("aucune erreur", Report(text)) << text;
}

TEST_F(TablatureCheck, LeavesTheStateAndTheDeviceAlone) {
  WorkingState.Tempo = 60;
  Report("ii41: ia f+: im3/4: o6 t200 c d e | 8f g");
  EXPECT_EQ(60u, WorkingState.Tempo);
  EXPECT_EQ(3, WorkingState.Octave);
  EXPECT_STREQ("", WorkingState.KeySignature);
  EXPECT_EQ(0, WorkingState.TimeNumerator);
  EXPECT_TRUE(MidiLog().empty());
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(TablatureCheck, CommandShowsOneBox) {
  WorkingState.TabText = "c d e zz";
  CheckCurrentTablature("");
  ASSERT_EQ(1u, dialogs.boxes.size());
  EXPECT_EQ("vérification de la tablature", dialogs.boxes[0].caption);
  EXPECT_EQ("1 problème\nmesure 1, ligne 1, colonne 7 : « zz » ignoré\nmesure 1 : anacrouse de 3 temps",
            dialogs.boxes[0].text);
}

}  // namespace
