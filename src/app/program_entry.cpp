#include "app/program_entry.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

#include "app/application.h"
#include "app/document_registration.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "core/tablature_file.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "harmony/scale_table.h"
#include "midi/defaults.h"
#include "midi/midi_port.h"
#include "platform/paths.h"
#include "tablature/measure_player.h"
#include "tablature/settings_file.h"

namespace {

const char kMissingFilesText[] =
    "L'environnement melvane a besoin de certains fichiers .dev .ini et .tab, qui sont "
    "recherchés dans le répertoire orfeon de votre disque dur\nVous pouvez cependant "
    "l'utiliser partiellement sans ces fichiers";
const char kNoDeviceCaption[] = "votre environnement ne supporte pas ce midi mapper";

// True when the port can play; otherwise says so.
bool OpenPort() {
  OpenMidiPort();
  if (WorkingState.Polyphony != 0) return true;
  ShowInfo("", kNoDeviceCaption);
  return false;
}

// A file name rather than reading options: option letters never hold a
// path separator or a dot, and an existing file is never read as options.
// The switch "/unregister" is no file.
bool NamesAFile(const char* argument) {
  if (IsUnregisterOption(argument)) return false;
  struct stat st;
  return std::strpbrk(argument, "/\\.") != nullptr || stat(platform::MapPath(argument).c_str(), &st) == 0;
}

// Plays the tablature named by `argument`, or the working copy with
// `argument` as reading options. Returns 1 when nothing could be played
// for want of a tablature.
int PlayFromCommandLine(const char* argument) {
  TWorkingState& ws = WorkingState;
  // A cut path would open another file, cut options would read otherwise.
  if (std::strlen(argument) > kShortText - 1) {
    char message[kLongText];
    std::snprintf(message, sizeof message,
                  "L'argument dépasse %d caractères, rien n'est joué :\n%s", kShortText - 1, argument);
    ShowInfo(message, "argument trop long");
    return 1;
  }
  if (std::strstr(argument, ".tab")) {
    if (!ReadTablatureFile(argument, &ws.TabText)) return 1;
    if (!ws.TabText.empty()) WriteTextFile(ws.TabText.c_str(), kWorkingCopy);
    CopyText(ws.TabFile, kWorkingCopy);
    PlayCurrentMeasure();
    return 0;
  }
  if (NamesAFile(argument)) {
    std::string text = std::string(argument) + "\nseuls les fichiers .tab se jouent : rien n'est joué";
    ShowInfo(text.c_str(), "ce fichier n'est pas une tablature");
    return 1;
  }
  if (!ReadTablatureFile(kWorkingCopy, &ws.TabText)) {
    ShowInfo("erreur", "impossible de lire la copie de travail \\orfeon\\prv.tab");
    return 1;
  }
  CopyText(ws.Indications, argument);
  CopyText(ws.TabFile, kWorkingCopy);
  PlayCurrentMeasure();
  return 0;
}

// Window mode: the settings, then the current tablature, its working copy,
// or the default scale.
bool PrepareTablature() {
  TWorkingState& ws = WorkingState;
  static char settingsText[kPageSize + 1];
  static char scratch[kPageSize + 1];
  LoadSettings(settingsText, scratch);
  if (ReadTablatureFile(ws.TabFile, &ws.TabText) && !ws.TabText.empty()) {
    WriteTextFile(ws.TabText.c_str(), kWorkingCopy);
    return true;
  }
  if (ReadTablatureFile(kWorkingCopy, &ws.TabText) && !ws.TabText.empty()) {
    CopyText(ws.TabFile, kWorkingCopy);
    return true;
  }
  return false;
}

}  // namespace

int ProgramEntry(int argc, char** argv) {
  TWorkingState& ws = WorkingState;
  bool ready = false;
  if (ReadDeviceNumber() == 0) {
    ws.MidiDevice = 0;
    ShowInfo(kMissingFilesText, "melvane");
  } else {
    if (!OpenPort()) return 0;
    ApplyDefaults();
    if (argc >= 2) return PlayFromCommandLine(argv[1]);
    ready = PrepareTablature();
  }
  if (!ready) {
    if (!OpenPort()) return 0;
    ApplyDefaults();
    char scale[kLongText];
    ScalePlayString(kMajor, ws.Key, scale);
    ws.TabText = scale;
    CopyText(ws.TabFile, kWorkingCopy);
  }
  ws.InfoText[0] = 0;
  return RunApplication();
}
