#include "harmony/harmony_commands.h"

#include "core/command_table.h"
#include "harmony/chord_commands.h"
#include "harmony/parameter_commands.h"
#include "harmony/scales.h"

void RegisterHarmonyCommands() {
  RegisterCommand(400, [](const char*) { RestoreDefaults(); });
  RegisterCommand(401, [](const char*) { ReloadSettings(); });
  RegisterCommand(402, [](const char*) { ChooseTempo(); });
  RegisterCommand(403, [](const char*) { ChooseInstrument(); });
  RegisterCommand(404, [](const char*) { ChooseVolume(); });
  RegisterCommand(405, [](const char*) { ChooseVoice(); });
  RegisterCommand(406, [](const char*) { StepTranspose(); });
  RegisterCommand(407, [](const char*) { StepBank(); });
  RegisterCommand(500, [](const char*) { PlayScaleDrill(); });
  RegisterCommand(501, [](const char*) { StepKey(); });
  RegisterCommand(502, [](const char*) { StepDegree(); });
  RegisterCommand(503, [](const char*) { ChooseScale(); });
  RegisterCommand(504, [](const char*) { ChooseChord(); });
  RegisterCommand(506, [](const char*) { PlayChordDrill(); });
  RegisterCommand(507, [](const char*) { StepRepetitions(); });
  RegisterCommand(508, [](const char*) { InvertChord(); });
  RegisterCommand(510, [](const char*) { PlayCadence(); });
}
