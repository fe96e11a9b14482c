// Checks a tablature without playing it: what the reader skips or ignores,
// measures whose length differs from the time signature, groups left open,
// notes out of reach.
#pragma once
#include <string>
#include <vector>

inline constexpr char kCheckCaption[] = "vérification de la tablature";

// One problem as it is shown and heard, in the window's list and on the
// terminal alike, the key words first: "« zz » ignoré — mesure 2, ligne 1,
// colonne 19", or for a measure's length "mesure 3 : 5 temps au lieu de 4".
struct TCheckProblem {
  std::string text;
  int line, column;  // where it is (a measure's length: where the measure begins), from 1
  bool counts;       // false for what is only named (the anacrusis)
};

// The problems of the text, measure by measure, in order of position. The
// working state is left as it was and nothing is sent to the device.
std::vector<TCheckProblem> CheckProblems(const char* text);
// "aucune erreur", "1 problème", "3 problèmes".
std::string CheckSummary(const std::vector<TCheckProblem>& problems);

// Writes the report into `report` (`size` characters with the NUL): the
// summary, then one line per problem; an anacrusis is named but is no
// problem. Returns the number of problems.
int CheckTablature(const char* text, char* report, int size);

// The command Vérifier: checks the current tablature and shows the report.
void CheckCurrentTablature(const char* argument);
