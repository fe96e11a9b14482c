#include "shell/wx_clipboard.h"

#include <string>

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

#include "core/working_state.h"
#include "drivers/clipboards.h"
#include "shell/clipboard_owner.h"
#include "shell/wx_text.h"

namespace {

class TWxClipboard : public platform::Clipboard {
 public:
  bool Open() override {
    written_ = false;
    return wxTheClipboard->Open();
  }

  platform::TClipboardText ReadText(char* buffer, int size) override {
    if (size <= 0) return platform::TClipboardText::kNone;
    buffer[0] = 0;
    // The toolkit would take the whole of another program's text, however
    // long; the clipboard tool is read no further than the bound.
    platform::Clipboard& tool = drivers::ToolClipboard(drivers::ClipboardTools::kX11);
    if (!ClipboardHeldHere() && tool.Open()) return tool.ReadText(buffer, size);
    wxTextDataObject data;
    if (!wxTheClipboard->GetData(data)) return platform::TClipboardText::kNone;
    std::string text = Cp1252(data.GetText());
    CopyText(buffer, size, text.c_str());
    return buffer[0] != 0 ? platform::TClipboardText::kText : platform::TClipboardText::kNone;
  }

  bool WriteText(const char* text) override {
    written_ = wxTheClipboard->SetData(new wxTextDataObject(Wx(text)));
    return written_;
  }

  void Close() override {
    // Left to the desktop's clipboard keeper, the text outlives the program.
    if (written_) wxTheClipboard->Flush();
    wxTheClipboard->Close();
  }

 private:
  bool written_ = false;
};

}  // namespace

platform::Clipboard& WxClipboard() {
  static TWxClipboard clipboard;
  return clipboard;
}
