// How boxes and started programs read at the terminal, for a person with a
// screen reader or a 40-cell braille display: short lines of French, the
// key words first, real line ends and the files' real paths.
#pragma once
#include <string>
#include <vector>

namespace drivers {

// The lines of a box (UTF-8), none wider than `width` (0: any width). The
// parts that say something come first (a question's text before its
// caption, an information's caption before its text), a part that is only a
// path after them, the legend of the answers ("oui=suivant non=précédent
// annuler=fin") last, cut before an answer when it is too wide. Two short
// parts share one line ("mesure 1 : c d"); an empty part is left out. The
// stepping's question is said short: "mesure 1 : notes 1 à 4".
std::vector<std::string> BoxLines(const char* text, const char* caption, bool question, size_t width);

// Writes UTF-8 lines on the terminal, each cut between words to its width.
void SayOnTerminal(const std::string& utf8);

// What became of a companion program or page.
enum class TProgramStart { kStarted, kFailed, kNoDisplay };

// The one line said for a companion program or a page: what it is and
// where, e.g. "page ouverte : /home/anne/orfeon/tutoriel.html". Without a
// display a page is not opened (a text browser would take the terminal):
// the line says where it is.
std::string ProgramLine(const char* commandLine, TProgramStart start);

}  // namespace drivers
