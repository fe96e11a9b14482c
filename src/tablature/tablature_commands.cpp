#include "tablature/tablature_commands.h"

#include "core/command_table.h"
#include "tablature/measure_player.h"
#include "tablature/reading_options.h"

void RegisterTablatureCommands() {
  RegisterCommand(600, PlayAll);
  RegisterCommand(601, PlayMeasure);
  RegisterCommand(602, NextMeasure);
  RegisterCommand(603, PreviousMeasure);
  RegisterCommand(604, AddKeySignatureReading);
  RegisterCommand(605, AddAdviceReading);
  RegisterCommand(606, AddFingeringReading);
  RegisterCommand(607, AddHarmonyReading);
  RegisterCommand(608, AddMeasureReading);
  RegisterCommand(609, AddDynamicsReading);
  RegisterCommand(610, AddLyricsReading);
}
