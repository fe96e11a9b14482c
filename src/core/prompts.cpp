#include "core/prompts.h"

#include "formats/encoding.h"
#include "platform/interrupt.h"
#include "platform/messages.h"
#include "platform/platform.h"
#include "platform/stop_request.h"

namespace {

int ShowBox(const char* text, const char* caption, unsigned type) {
  if (text[0] == 0 && caption[0] == 0) return kNoBox;
  // The program is ending: no one is there to answer a box.
  if (platform::ShuttingDown()) {
    platform::PrintUtf8ForPerson(formats::Cp1252ToUtf8(caption) + " : " + formats::Cp1252ToUtf8(text));
    return kCancel;
  }
  return platform::Get().dialogs->MessageBox(text, caption, type);
}

}  // namespace

int ShowInfo(const char* text, const char* caption) { return ShowBox(text, caption, kInfoBox); }

int AskYesNoCancel(const char* text, const char* caption) {
  return ShowBox(text, caption, kQuestionBox);
}

// A command the user stopped is not completed: it ends in silence.
void PlayCue(const char* path) {
  if (!platform::StopSeen()) platform::Get().sound->PlayCue(path);
}

void RunProgram(const char* commandLine, int showMode) {
  platform::Get().programs->Exec(commandLine, showMode);
}

void EndProgram(const char* commandLine) { platform::Get().programs->End(commandLine); }
