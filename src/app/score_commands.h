// Scores of other programs: importing MusicXML and MIDI files as
// tablatures, exporting the tablature as MusicXML, from the command line
// (--importer, --exporter) and as the commands of the Tabla menu.
#pragma once

// True when the first argument asks for an import or an export.
bool WantsScoreConversion(int argc, char** argv);
// Runs it on the terminal: 0 done, 2 refused (said on standard error,
// nothing written).
int ConvertFromCommandLine(int argc, char** argv);

// Registers "Importer..." and "Exporter en MusicXML..." (the console gives
// the path as argument instead of the dialog).
void RegisterScoreCommands();
