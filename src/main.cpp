// pavsdi: the program. It talks in a window, or on the terminal when asked
// to (PAVSDI_UI=console) or when no display is there. The one place where
// the window and the application meet.
#include "app/program_start.h"
#include "platform/interrupt.h"
#include "platform/standard_options.h"
#include "shell/front_ends.h"

namespace {

const char kUsage[] =
    "Usage : pavsdi [TABLATURE.tab | OPTIONS DE LECTURE | -unregister]\n"
    "Joue des tablatures texte sur un périphérique MIDI, exerce à l'harmonie et édite\n"
    "les tablatures, au clavier et à l'oreille.\n"
    "\n"
    "  pavsdi                ouvre la fenêtre (ou parle sur le terminal sans affichage)\n"
    "  pavsdi morceau.tab    joue la tablature puis termine\n"
    "  pavsdi \" \"            parcourt la copie de travail mesure par mesure\n"
    "  pavsdi -unregister    ouvre la fenêtre et retire l'association des fichiers\n"
    "  -h, --help            affiche cette aide\n"
    "  --version             affiche la version\n"
    "\n"
    "Les données sont dans $XDG_DATA_HOME/pavsdi/orfeon (par défaut\n"
    "~/.local/share/pavsdi/orfeon), créées au premier lancement ; PAVSDI_ROOT\n"
    "désigne une autre racine. PAVSDI_UI=console fait parler sur le terminal.\n"
    "devprobe liste les périphériques MIDI. Voir aussi : man pavsdi\n";

}  // namespace

int main(int argc, char** argv) {
  if (int status; platform::AnswerStandardOptions(argc, argv, "pavsdi", kUsage, nullptr, &status)) return status;
  platform::InstallInterruptHandlers();
  StartFrontEnds(argc, argv);
  return RunProgram(argc, argv, nullptr);
}
