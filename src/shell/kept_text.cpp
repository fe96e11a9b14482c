#include "shell/kept_text.h"

#include <cstdio>
#include <string>

#include <wx/window.h>

#include "core/data_files.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "formats/file_bytes.h"
#include "platform/interrupt.h"
#include "platform/paths.h"
#include "shell/pav_sdi_edit_file.h"

namespace {

// The file: the document's name as the program writes it (empty for a new
// text), a line feed, then the text in UTF-8.
TPavSdiEditFile* watched = nullptr;
// Pasted text may take the editor past the size of the files it opens.
constexpr size_t kLongestKeptText = 64 << 20;

void KeepText() {
  if (!watched || !watched->IsModified()) return;
  std::string bytes = std::string(watched->FileName()) + "\n" + std::string(watched->GetValue().utf8_str());
  formats::WriteFileBytes(platform::MapPath(kKeptEditorText), bytes);
}

}  // namespace

void KeepUnsavedTextOnTheWayOut(TPavSdiEditFile* editor) {
  watched = editor;
  // Closed by the user, the editor has asked about its changes already.
  editor->Bind(wxEVT_DESTROY, [editor](wxWindowDestroyEvent& event) {
    if (event.GetEventObject() == editor) watched = nullptr;
    event.Skip();
  });
  platform::AtShutdown(KeepText);
}

void OfferKeptText(TPavSdiEditFile* editor) {
  std::string path = platform::MapPath(kKeptEditorText);
  if (!formats::FileReadable(path)) return;
  std::string bytes;
  if (!formats::ReadFileBytes(path, &bytes, kLongestKeptText)) {
    ShowInfo(kKeptEditorText, "impossible d'ouvrir en lecture");
    return;
  }
  size_t end = bytes.find('\n');
  std::string name = end == std::string::npos ? "" : bytes.substr(0, end);
  std::string text = end == std::string::npos ? bytes : bytes.substr(end + 1);
  char caption[kFileNameSize + 64];
  std::snprintf(caption, sizeof caption, "texte non sauvegardé gardé à la fermeture : %s",
                name.empty() ? "Document" : name.c_str());
  int answer = AskYesNoCancel("oui=ouvrir non=effacer annuler=plus tard", caption);
  if (answer == kCancel) return;
  if (answer == kYes) {
    if (name.empty() || name.size() >= kFileNameSize || !editor->ReplaceWith(name.c_str())) editor->NewFile();
    editor->SetValue(wxString::FromUTF8(text));
    editor->MarkDirty();
  }
  RemoveTextFile(kKeptEditorText);
}
