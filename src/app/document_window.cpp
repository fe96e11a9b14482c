#include "app/document_window.h"

#include <cstdio>

#include "app/file_commands.h"
#include "core/prompts.h"
#include "formats/document_text.h"
#include "formats/file_bytes.h"
#include "platform/paths.h"

namespace {

// The console has no editor: a file is "opened" when it can be read.
class TConsoleDocument : public TDocumentWindow {
 public:
  bool CanClose() override { return true; }
  void NewFile() override {}
  bool ReplaceWith(const char* path) override {
    if (formats::FileReadable(platform::MapPath(path))) return true;
    char message[kFileNameSize + 40];
    std::snprintf(message, sizeof message, "Unable to read file %s from disk.", path);
    ShowInfo(message, kProductCaption);
    return false;
  }
  bool ChooseFileToOpen(char*, int) override { return false; }
};

TConsoleDocument consoleDocument;
TDocumentWindow* installed = nullptr;

}  // namespace

TDocumentWindow& DocumentWindow() { return installed ? *installed : consoleDocument; }

void SetDocumentWindow(TDocumentWindow* window) { installed = window; }
