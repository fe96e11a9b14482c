#include "tablature/clipboard_text.h"

#include <cstdio>
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
  platform::TClipboardText read = clipboard.ReadText(text, kLongText - 1);
  if (read == platform::TClipboardText::kText) std::strcat(text, "\n");
  clipboard.Close();
  if (read == platform::TClipboardText::kTooLong) {
    char message[96];
    std::snprintf(message, sizeof message, "le presse papier contient plus de %d Ko de texte : il n'est pas lu",
                  static_cast<int>(platform::kClipboardLimit / 1024));
    ShowInfo(message, "presse papier trop grand");
  }
  if (std::strchr(text, '[') || std::strchr(text, '{')) Translate(text);
}
