#include "core/program_entry.h"

#include "core/application.h"
#include "core/prompts.h"
#include "core/working_state.h"
#include "midi/midi_port.h"

namespace {

const char kMissingFilesText[] =
    "L'environnement melvane a besoin de certains fichiers .dev .ini et .tab, qui sont "
    "recherchés dans le répertoire orfeon de votre disque dur\nVous pouvez cependant "
    "l'utiliser partiellement sans ces fichiers";
const char kNoDeviceCaption[] = "votre environnement ne supporte pas ce midi mapper";

}  // namespace

int ProgramEntry(int, char**) {
  if (ReadDeviceNumber() == 0) {
    ShowInfo(kMissingFilesText, "melvane");
  }
  OpenMidiPort();
  if (WorkingState.Polyphony == 0) {
    ShowInfo("", kNoDeviceCaption);
    return 0;
  }
  return RunApplication();
}
