#include "terminal/line_editor.h"

#include <histedit.h>
#include <unistd.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "terminal/terminal_keys.h"
#include "terminal/terminal_watch.h"
#include "formats/encoding.h"

namespace drivers {
namespace {

constexpr int kHistorySize = 200;

char* Prompt(EditLine*) {
  static char prompt[] = "PavSdi> ";
  return prompt;
}

// Characters come through our own reading, so that Ctrl+C and SIGTERM end
// the program at once, with the terminal put back.
int ReadCharacter(EditLine*, wchar_t* character) {
  std::mbstate_t state{};
  unsigned char byte;
  while (ReadInputByte(&byte)) {
    char c = static_cast<char>(byte);
    size_t n = std::mbrtowc(character, &c, 1, &state);
    if (n == static_cast<size_t>(-2)) continue;
    if (n == static_cast<size_t>(-1)) {
      state = {};
      continue;
    }
    if (n == 0) *character = 0;
    return 1;
  }
  return 0;
}

}  // namespace

struct LineEditor::Editor {
  EditLine* line;
  History* history;
};

LineEditor::~LineEditor() {
  if (!editor_) return;
  el_end(editor_->line);
  history_end(editor_->history);
  delete editor_;
}

void LineEditor::Open() {
  editor_ = new Editor{el_init("pavsdi", stdin, stdout, stderr), history_init()};
  HistEvent event;
  history(editor_->history, &event, H_SETSIZE, kHistorySize);
  history(editor_->history, &event, H_SETUNIQUE, 1);
  el_set(editor_->line, EL_EDITOR, "emacs");
  el_set(editor_->line, EL_PROMPT, Prompt);
  el_set(editor_->line, EL_HIST, history, editor_->history);
  el_set(editor_->line, EL_GETCFN, ReadCharacter);
  el_source(editor_->line, nullptr);
}

bool LineEditor::ReadLine(char* buffer, int size) {
  if (size > 0) buffer[0] = 0;
  EndKeyWatch();
  if (!editor_) Open();
  int count = 0;
  SetPromptOpen(true);
  const char* line = el_gets(editor_->line, &count);
  SetPromptOpen(false);
  if (!line || count <= 0) {
    // Ctrl+D leaves the cursor after the prompt.
    if (isatty(STDIN_FILENO)) std::fputc('\n', stdout);
    std::fflush(stdout);
    return false;
  }
  std::string text(line, static_cast<size_t>(count));
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (!text.empty()) {
    HistEvent event;
    history(editor_->history, &event, H_ENTER, text.c_str());
  }
  std::snprintf(buffer, static_cast<size_t>(size), "%s", formats::Utf8ToCp1252(text).c_str());
  return true;
}

}  // namespace drivers
