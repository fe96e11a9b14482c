#include "app/program_options.h"

#include "app/check_command.h"
#include "platform/standard_options.h"

namespace {

const char kUsage[] =
    "Usage : pavsdi [TABLATURE.tab | OPTIONS DE LECTURE | -unregister]\n"
    "Joue des tablatures texte sur un périphérique MIDI, exerce à l'harmonie et édite\n"
    "les tablatures, au clavier et à l'oreille.\n"
    "\n"
    "  pavsdi                ouvre la fenêtre (ou parle sur le terminal sans affichage)\n"
    "  pavsdi morceau.tab    joue la tablature puis termine\n"
    "  pavsdi \" \"            parcourt la copie de travail mesure par mesure\n"
    "  pavsdi m              lecture guidée de la copie de travail (un autre fichier\n"
    "                        que .tab est refusé ; statut 1 quand rien n'est joué)\n"
    "  pavsdi -unregister    ouvre la fenêtre et retire l'association des fichiers\n"
    "  pavsdi --verifier FICHIER   dit ce que la lecture de la tablature saute ou compte mal\n"
    "  -h, --help            affiche cette aide\n"
    "  --version             affiche la version\n"
    "\n"
    "Les données sont dans $XDG_DATA_HOME/pavsdi/orfeon (par défaut\n"
    "~/.local/share/pavsdi/orfeon), créées au premier lancement ; PAVSDI_ROOT\n"
    "désigne une autre racine. PAVSDI_UI=console fait parler sur le terminal.\n"
    "devprobe liste les périphériques MIDI. Voir aussi : man pavsdi\n";

}  // namespace

bool AnswerProgramOptions(int argc, char** argv, int* status) {
  // The check prints its report on the terminal: no front end, no window.
  if (WantsCheck(argc, argv)) {
    *status = CheckFromCommandLine(argc, argv);
    return true;
  }
  return platform::AnswerStandardOptions(argc, argv, "pavsdi", kUsage, nullptr, status);
}
