#include "tablature/clipboard_text.h"

#include <cstring>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "platform/platform.h"
#include "tablature/dictionary.h"

namespace {

// The translation replaces the text; the box only shows it, its answer
// changes nothing.
void Translate(char* text) {
  char keys[kLongText];
  TranslateText(text, keys, WorkingState.InfoText, kDictionaryFile);
  platform::Get().dialogs->MessageBox(WorkingState.InfoText, keys, kQuestionBox);
  CopyText(text, kLongText, WorkingState.InfoText);
  WriteTextFile(WorkingState.InfoText, kInfoFile);
}

}  // namespace

void ReadClipboardText(char* text) {
  text[0] = 0;
  platform::Clipboard& clipboard = *platform::Get().clipboard;
  if (!clipboard.Open()) {
    PlayCue(kErrorCue);
    return;
  }
  // Room is kept for the line feed.
  if (clipboard.ReadText(text, kLongText - 1)) std::strcat(text, "\n");
  clipboard.Close();
  if (std::strchr(text, '[') || std::strchr(text, '{')) Translate(text);
}
