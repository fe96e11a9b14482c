#include "app/check_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/tablature_file.h"
#include "core/working_state.h"
#include "formats/encoding.h"
#include "midi/defaults.h"
#include "tablature/tablature_check.h"

bool WantsCheck(int argc, char** argv) { return argc >= 2 && std::strcmp(argv[1], "--verifier") == 0; }

int CheckFromCommandLine(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage : pavsdi --verifier FICHIER\n", stderr);
    return 2;
  }
  // Told here rather than in a box: the check answers on the terminal. The
  // argument comes in UTF-8; the program names its files in Windows-1252,
  // and a name it cannot hold would name another file.
  std::string name = formats::Utf8ToCp1252(argv[2]);
  std::string text;
  int reason = formats::FitsCp1252(argv[2]) ? LoadTablatureFile(name.c_str(), &text) : ENOENT;
  if (reason != 0) {
    std::string message = std::string("impossible de lire ") + argv[2] + " : " +
                          formats::Cp1252ToUtf8(ReadFailureReason(reason)) + "\n";
    std::fputs(message.c_str(), stderr);
    return 2;
  }
  // The state in which a tablature named on the command line is played.
  ApplyDefaults();
  static char report[kLongText];
  int problems = CheckTablature(text.c_str(), report, kLongText);
  std::string out = formats::Cp1252ToUtf8(report) + "\n";
  std::fputs(out.c_str(), stdout);
  std::fflush(stdout);
  return problems > 0 ? 1 : 0;
}
