#include "core/prompts.h"

#include "platform/platform.h"

const char kEditionCue[] = "\\orfeon\\edition.wav";
const char kErrorCue[] = "\\orfeon\\erreur.wav";
const char kFileCue[] = "\\orfeon\\fichier.wav";
const char kReadingCue[] = "\\orfeon\\lisez.wav";
const char kAnnotationCue[] = "\\lm4\\wav\\lisez.wav";

namespace {

constexpr unsigned kInfoBox = 64;      // OK button and the information icon
constexpr unsigned kQuestionBox = 3;   // Yes, No and Cancel, no icon

int ShowBox(const char* text, const char* caption, unsigned type) {
  if (text[0] == 0 && caption[0] == 0) return kNoBox;
  return platform::Get().dialogs->MessageBox(text, caption, type);
}

}  // namespace

int ShowInfo(const char* text, const char* caption) { return ShowBox(text, caption, kInfoBox); }

int AskYesNoCancel(const char* text, const char* caption) {
  return ShowBox(text, caption, kQuestionBox);
}

void PlayCue(const char* path) { platform::Get().sound->PlayCue(path); }

void RunProgram(const char* commandLine, int showMode) {
  platform::Get().programs->Exec(commandLine, showMode);
}
