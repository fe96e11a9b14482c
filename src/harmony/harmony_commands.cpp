#include "harmony/harmony_commands.h"

#include "core/command_table.h"
#include "harmony/chord_commands.h"
#include "harmony/parameter_commands.h"
#include "harmony/scales.h"

void RegisterHarmonyCommands() {
  RegisterCommand(kDefaultsCommand, [](const char*) { RestoreDefaults(); });
  RegisterCommand(kMidiInitCommand, [](const char*) { ReloadSettings(); });
  RegisterCommand(kTempoCommand, [](const char*) { ChooseTempo(); });
  RegisterCommand(kInstrumentCommand, [](const char*) { ChooseInstrument(); });
  RegisterCommand(kVolumeCommand, [](const char*) { ChooseVolume(); });
  RegisterCommand(kVoiceCommand, [](const char*) { ChooseVoice(); });
  RegisterCommand(kTransposeCommand, [](const char*) { StepTranspose(); });
  RegisterCommand(kBankCommand, [](const char*) { StepBank(); });
  RegisterCommand(kPlayScaleCommand, [](const char*) { PlayScaleDrill(); });
  RegisterCommand(kKeyCommand, [](const char*) { StepKey(); });
  RegisterCommand(kDegreeCommand, [](const char*) { StepDegree(); });
  RegisterCommand(kScaleCommand, [](const char*) { ChooseScale(); });
  RegisterCommand(kChordCommand, [](const char*) { ChooseChord(); });
  RegisterCommand(kPlayChordCommand, [](const char*) { PlayChordDrill(); });
  RegisterCommand(kRepetitionCommand, [](const char*) { StepRepetitions(); });
  RegisterCommand(kInvertCommand, [](const char*) { InvertChord(); });
  RegisterCommand(kCadenceCommand, [](const char*) { PlayCadence(); });
}
