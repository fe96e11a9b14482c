#include "core/prompts.h"

#include "platform/platform.h"

namespace {

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
