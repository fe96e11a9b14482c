#include "tablature/tablature_commands.h"

#include "core/command_table.h"
#include "tablature/measure_player.h"
#include "tablature/practice_player.h"
#include "tablature/reading_options.h"
#include "tablature/tablature_check.h"

void RegisterTablatureCommands() {
  RegisterCommand(kPlayAllCommand, PlayAll);
  RegisterCommand(kPlayMeasureCommand, PlayMeasure);
  RegisterCommand(kNextMeasureCommand, NextMeasure);
  RegisterCommand(kPreviousMeasureCommand, PreviousMeasure);
  RegisterCommand(kKeySignatureReadingCommand, AddKeySignatureReading);
  RegisterCommand(kAdviceReadingCommand, AddAdviceReading);
  RegisterCommand(kFingeringReadingCommand, AddFingeringReading);
  RegisterCommand(kHarmonyReadingCommand, AddHarmonyReading);
  RegisterCommand(kMeasureReadingCommand, AddMeasureReading);
  RegisterCommand(kDynamicsReadingCommand, AddDynamicsReading);
  RegisterCommand(kLyricsReadingCommand, AddLyricsReading);
  RegisterCommand(kCheckCommand, CheckCurrentTablature);
  RegisterCommand(kLoopCommand, LoopCommand);
  RegisterCommand(kLoopSettingsCommand, LoopSettingsCommand);
  RegisterCommand(kCountInCommand, CountInCommand);
  RegisterCommand(kMetronomeCommand, MetronomeCommand);
}
