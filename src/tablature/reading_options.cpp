#include "tablature/reading_options.h"

#include <cstring>
#include <string>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "tablature/dictionary.h"

namespace {

// The tablature's bracketed words are replaced by their translations, which
// become the current text and the current information.
void TranslateTablature() {
  TWorkingState& ws = WorkingState;
  if (ws.TabText.find_first_of("[{") == std::string::npos) return;
  static char keys[kLongText];
  static char translations[kLongText];
  TranslateText(ws.TabText.c_str(), keys, translations, kDictionaryFile);
  for (char* p = translations; *p; ++p)
    if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p - 'A' + 'a');
  ws.TabText = translations;
  CopyText(ws.InfoText, translations);
  WriteTextFile(ws.InfoText, kInfoFile);
  ShowInfo(translations, "Traduction avec le dictionnaire \\orfeon\\lexiton.dic");
}

}  // namespace

void AddReadingOption(const char* question, char letter) {
  TWorkingState& ws = WorkingState;
  int answer = AskYesNoCancel(question, "oui non annuler=pas d'indication");
  if (answer == kNo) return;
  if (answer == kCancel) {
    ws.Indications[0] = 0;
    return;
  }
  if (!std::strchr(ws.Indications, letter)) {
    size_t used = std::strlen(ws.Indications);
    if (used < kShortText - 1) {
      ws.Indications[used] = letter;
      ws.Indications[used + 1] = 0;
    } else {
      ShowInfo("les options de lecture sont pleines (79 lettres) : celle-ci n'est pas ajoutée",
               "options de lecture");
    }
  }
  if (letter == 'h') TranslateTablature();
  PlayCue(kEditionCue);
}

void AddKeySignatureReading(const char*) { AddReadingOption("ajouter la lecture de l'armature", 'a'); }
void AddAdviceReading(const char*) { AddReadingOption("ajouter la lecture des conseils", 'c'); }
void AddFingeringReading(const char*) { AddReadingOption("ajouter la lecture des doigtés", 'd'); }
void AddHarmonyReading(const char*) { AddReadingOption("ajouter la lecture de l'harmonie", 'h'); }
void AddMeasureReading(const char*) { AddReadingOption("ajouter la lecture des mesures", 'm'); }
void AddDynamicsReading(const char*) { AddReadingOption("ajouter la lecture des notes", 'n'); }
void AddLyricsReading(const char*) { AddReadingOption("ajouter la lecture des paroles", 'p'); }
