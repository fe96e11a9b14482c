// sonplay: the companion player of "Jouer Tout". Plays the working copy
// "\orfeon\prv.tab" whole on the device that "\orfeon\midiinit.dev" names,
// with the default parameters, and exits.
#include <string>

#include "core/data_files.h"
#include "core/tablature_file.h"
#include "core/working_state.h"
#include "drivers/console_ui.h"
#include "drivers/system_services.h"
#include "formats/encoding.h"
#include "midi/defaults.h"
#include "midi/midi_port.h"
#include "platform/interrupt.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/process_start.h"
#include "platform/standard_options.h"
#include "tablature/measure_player.h"

namespace {

const char kUsage[] =
    "Usage : sonplay\n"
    "Compagnon de pavsdi (« Jouer Tout ») : joue en entier la copie de travail\n"
    "orfeon/prv.tab du répertoire de données sur le périphérique que nomme\n"
    "orfeon/midiinit.dev, puis termine.\n"
    "\n"
    "  -h, --help   affiche cette aide\n"
    "  --version    affiche la version\n";

}  // namespace

int main(int argc, char** argv) {
  platform::StartProcess(&argc, &argv);
  if (int status; platform::AnswerStandardOptions(argc, argv, "sonplay", kUsage, nullptr, &status)) return status;
  platform::InstallInterruptHandlers();
  drivers::InstallSystemServices();
  drivers::InstallConsole();
  ReadDeviceNumber();
  OpenMidiPort();
  if (WorkingState.Polyphony == 0) {
    platform::PrintForPerson("sonplay : le périphérique de \\orfeon\\midiinit.dev ne peut pas jouer.");
    return 1;
  }
  ApplyDefaults();
  if (!ReadTablatureFile(kWorkingCopy, &WorkingState.TabText)) return 1;
  PlayCurrentMeasure();
  std::string file;
  uint32_t device = static_cast<uint32_t>(WorkingState.MidiDevice);
  if (device < platform::MidiDevices().size()) file = platform::MidiDevices()[device]->OutputFile();
  platform::RunShutdown();
  if (!file.empty())
    platform::PrintUtf8ForPerson(formats::Cp1252ToUtf8("sonplay : fichier écrit : ") + platform::MapPath(file.c_str()));
  return 0;
}
