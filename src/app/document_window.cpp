#include "app/document_window.h"

#include <string>

#include "app/file_commands.h"
#include "core/command_table.h"
#include "core/tablature_file.h"

namespace {

// The console has no editor: a file is "opened" when it can be read.
class TConsoleDocument : public TDocumentWindow {
 public:
  bool CanClose() override { return true; }
  void NewFile() override {}
  bool ReplaceWith(const char* path) override {
    std::string text;
    return ReadTablatureFile(path, &text);
  }
  bool ChooseFileToOpen(char*, int) override { return false; }
};

TConsoleDocument consoleDocument;
TDocumentWindow* installed = nullptr;

}  // namespace

TDocumentWindow& DocumentWindow() { return installed ? *installed : consoleDocument; }

void SetDocumentWindow(TDocumentWindow* window) { installed = window; }

void RegisterDocumentCommands() {
  RegisterCommand(kSaveCommand, [](const char*) { DocumentWindow().Save(); },
                  [] { return DocumentWindow().HasChanges(); });
  RegisterCommand(kSaveAsCommand, [](const char*) { DocumentWindow().SaveAs(); }, [] { return true; });
  RegisterCommand(kUndoCommand, [](const char*) { DocumentWindow().UndoEdit(); },
                  [] { return DocumentWindow().CanUndoEdit(); });
  RegisterCommand(kCutCommand, [](const char*) { DocumentWindow().CutSelection(); },
                  [] { return DocumentWindow().HasSelection(); });
  RegisterCommand(kCopyCommand, [](const char*) { DocumentWindow().CopySelection(); },
                  [] { return DocumentWindow().HasSelection(); });
  RegisterCommand(kPasteCommand, [](const char*) { DocumentWindow().PasteText(); },
                  [] { return DocumentWindow().CanPasteText(); });
  RegisterCommand(kDeleteCommand, [](const char*) { DocumentWindow().DeleteSelection(); },
                  [] { return DocumentWindow().HasSelection(); });
  RegisterCommand(kClearCommand, [](const char*) { DocumentWindow().ClearAll(); },
                  [] { return DocumentWindow().HasText(); });
  RegisterCommand(kFindCommand, [](const char*) { DocumentWindow().ShowFind(false); },
                  [] { return DocumentWindow().HasText(); });
  RegisterCommand(kReplaceCommand, [](const char*) { DocumentWindow().ShowFind(true); },
                  [] { return DocumentWindow().HasText(); });
  RegisterCommand(kFindNextCommand, [](const char*) { DocumentWindow().FindNextMatch(); },
                  [] { return DocumentWindow().HasText() && DocumentWindow().HasSearch(); });
}
