// devprobe: lists the MIDI output devices, one line each: number, note
// capacity and name, separated by tabs. The number is what the file
// "\orfeon\midiinit.dev" takes.
//
// devprobe --play [N [NOTES]] plays a short scale on device N (by default
// the one that "\orfeon\midiinit.dev" names), to check that it sounds.
// NOTES replaces the scale: blank-separated pitch:length pairs at tempo 120,
// pitch 0 a rest, length a note value x 1000 ("60:4000 0:8000" is a quarter
// C then an eighth rest).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "core/working_state.h"
#include "drivers/console_ui.h"
#include "drivers/system_services.h"
#include "formats/encoding.h"
#include "midi/midi_port.h"
#include "platform/interrupt.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "platform/process_start.h"
#include "platform/standard_options.h"

namespace {

// Prints a line made in Windows-1252 as UTF-8.
void PrintLine(const std::string& cp1252) {
  std::puts(formats::Cp1252ToUtf8(cp1252.c_str()).c_str());
}

int List() {
  uint32_t n = platform::MidiOutGetNumDevs();
  for (uint32_t d = 0; d < n; ++d) {
    PrintLine(std::to_string(d) + "\t" + std::to_string(platform::MidiOutGetNoteCapacity(d)) + "\t" +
              platform::MidiDevices()[d]->Name());
  }
  return 0;
}

struct Note {
  int pitch;
  uint32_t length;
};

std::vector<Note> ParseNotes(const char* text) {
  if (!text) return {{60, 8000}, {62, 8000}, {64, 8000}, {65, 8000}, {67, 8000}, {69, 8000}, {71, 8000}, {72, 8000}};
  std::vector<Note> notes;
  std::istringstream in(text);
  std::string pair;
  while (in >> pair) {
    int pitch = 0;
    unsigned length = 0;
    if (std::sscanf(pair.c_str(), "%d:%u", &pitch, &length) == 2 && pitch >= 0 && pitch < 128)
      notes.push_back({pitch, length});
  }
  return notes;
}

int PlayScale(const char* device, const char* notesText) {
  if (device) {
    WorkingState.MidiDevice = std::atoi(device);
  } else {
    ReadDeviceNumber();
  }
  OpenMidiPort();
  if (WorkingState.Polyphony == 0 || !WorkingState.MidiOut) {
    platform::PrintForPerson("Ce périphérique ne peut pas jouer : choisissez-en un autre dans la liste de devprobe.");
    return 1;
  }
  WorkingState.Channel = 1;
  WorkingState.Velocity = 100;
  WorkingState.Tempo = 120;
  SendProgramChange(0);
  for (const Note& note : ParseNotes(notesText)) {
    if (note.pitch) SendNoteOn(note.pitch);
    WaitNoteLength(note.length);
    if (note.pitch) SendNoteOff(note.pitch);
  }
  platform::MidiDevice& chosen = *platform::MidiDevices()[static_cast<uint32_t>(WorkingState.MidiDevice)];
  std::string file = chosen.OutputFile();
  platform::MidiOutClose(WorkingState.MidiOut);
  WorkingState.MidiOut = nullptr;
  PrintLine("Gamme jouée sur le périphérique " + std::to_string(WorkingState.MidiDevice) + " : " +
            chosen.Name());
  if (!file.empty())
    std::printf("%s%s\n", formats::Cp1252ToUtf8("Fichier écrit : ").c_str(),
                platform::MapPath(file.c_str()).c_str());
  return 0;
}

const char kUsage[] =
    "Usage : devprobe [--play [N [NOTES]]]\n"
    "Liste les périphériques MIDI de sortie, un par ligne : numéro, nombre de notes\n"
    "simultanées et nom. Le numéro choisi va dans le fichier midiinit.dev du\n"
    "répertoire de données.\n"
    "\n"
    "  --play [N [NOTES]]  joue une gamme sur le périphérique N (par défaut celui de\n"
    "                      midiinit.dev) ; NOTES remplace la gamme : paires\n"
    "                      hauteur:durée séparées par des blancs (\"60:4000 0:8000\")\n"
    "  -h, --help          affiche cette aide\n"
    "  --version           affiche la version\n";
const char* const kOwnOptions[] = {"--play", nullptr};

}  // namespace

int main(int argc, char** argv) {
  platform::StartProcess(&argc, &argv);
  if (int status; platform::AnswerStandardOptions(argc, argv, "devprobe", kUsage, kOwnOptions, &status))
    return status;
  platform::InstallInterruptHandlers();
  drivers::InstallSystemServices();
  drivers::InstallConsole();
  if (argc >= 2 && std::strcmp(argv[1], "--play") == 0) return PlayScale(argc >= 3 ? argv[2] : nullptr, argc >= 4 ? argv[3] : nullptr);
  if (argc >= 2) {
    std::fprintf(stderr, "usage : devprobe [--play [N [NOTES]]]\n");
    return 2;
  }
  return List();
}
