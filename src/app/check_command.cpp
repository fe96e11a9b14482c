#include "app/check_command.h"

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
  // Told here rather than in a box: the check answers on the terminal.
  std::string text;
  if (int reason = LoadTablatureFile(argv[2], &text); reason != 0) {
    std::string message = "impossible de lire " + formats::Cp1252ToUtf8(argv[2]) + " : " +
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
