// clipsend: the companion that puts the current information (the file
// \orfeon\prvinfo.tab) on the clipboard. The desktop's clipboard keeps the
// text after we end: the clipboard tool stays in the background serving it
// until another program takes the clipboard, or pavsdi, which started us,
// ends. With PAVSDI_CLIPBOARD set, that file receives the text instead.
#include <string>

#include "core/data_files.h"
#include "core/tablature_file.h"
#include "drivers/system_services.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "platform/process_start.h"
#include "platform/standard_options.h"

namespace {

const char kUsage[] =
    "Usage : clipsend\n"
    "Compagnon de pavsdi : met l'information courante (orfeon/prvinfo.tab du\n"
    "répertoire de données) dans le presse-papiers, qui la garde après la fin du\n"
    "programme. Avec PAVSDI_CLIPBOARD, ce fichier reçoit le texte.\n"
    "\n"
    "  -h, --help   affiche cette aide\n"
    "  --version    affiche la version\n";

}  // namespace

int main(int argc, char** argv) {
  platform::StartProcess(&argc, &argv);
  if (int status; platform::AnswerStandardOptions(argc, argv, "clipsend", kUsage, nullptr, &status)) return status;
  drivers::InstallSystemServices();
  // Whole: at the window's start the information is the current tablature.
  // A file without text leaves the clipboard as it was.
  std::string info;
  if (LoadTablatureFile(kInfoFile, &info) != 0 || info.empty()) {
    platform::PrintForPerson("clipsend : l'information courante \\orfeon\\prvinfo.tab est vide ou illisible.");
    return 1;
  }
  platform::Clipboard& clipboard = *platform::Get().clipboard;
  if (!clipboard.Open()) {
    platform::PrintForPerson("clipsend : impossible d'ouvrir le presse papier.");
    return 1;
  }
  bool written = clipboard.WriteText(info.c_str());
  clipboard.Close();
  if (!written) {
    platform::PrintForPerson("clipsend : impossible d'écrire dans le presse papier.");
    return 1;
  }
  return 0;
}
