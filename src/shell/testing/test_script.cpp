#include "shell/testing/test_script.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>

#include "core/working_state.h"
#include "drivers/console_ui.h"
#include "formats/encoding.h"
#include "shell/pav_preview_win.h"
#include "shell/pav_sdi_edit_file.h"
#include "shell/sdi_dec_frame.h"
#include "shell/testing/shell_steps.h"
#include "shell/tool_rect.h"
#include "shell/wx_text.h"

namespace testscript {
namespace {

FILE* logFile = nullptr;
std::deque<std::string> steps;
std::deque<std::string> boxAnswers;
std::deque<std::string> fileAnswers;
bool boxShowing = false;
int boxesShown = 0;
TSDIDecFrame* frame = nullptr;

void Log(const std::string& line) {
  if (!logFile) return;
  std::fputs(line.c_str(), logFile);
  std::fputc('\n', logFile);
  std::fflush(logFile);
}

std::string Field(const char* cp1252) { return drivers::EscapeField(cp1252); }
std::string Field(const wxString& text) { return Field(Cp1252(text).c_str()); }

bool ParseKey(std::string spec, int* key, int* modifiers) {
  *modifiers = wxMOD_NONE;
  for (auto [prefix, flag] : {std::pair{"alt+", wxMOD_ALT}, {"ctrl+", wxMOD_CONTROL}, {"shift+", wxMOD_SHIFT}}) {
    if (spec.rfind(prefix, 0) == 0) {
      *modifiers |= flag;
      spec = spec.substr(std::string(prefix).size());
    }
  }
  if (spec.size() >= 2 && spec[0] == 'F') {
    *key = WXK_F1 + std::atoi(spec.c_str() + 1) - 1;
    return true;
  }
  if (spec == "Escape") *key = WXK_ESCAPE;
  else if (spec == "Delete") *key = WXK_DELETE;
  else if (spec == "Insert") *key = WXK_INSERT;
  else if (spec == "Backspace") *key = WXK_BACK;
  else if (spec == "Return") *key = WXK_RETURN;
  else if (spec == "End") *key = WXK_END;
  else if (spec.size() == 1) *key = spec[0];
  else return false;
  return true;
}

void Dump(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "TITLE\t" << Field(frame->GetTitle()) << "\n";
  wxMenuBar* bar = frame->GetMenuBar();
  for (size_t p = 0; p < bar->GetMenuCount(); ++p) {
    wxMenu* menu = bar->GetMenu(p);
    wxString popup = bar->GetMenuLabel(p);
    for (wxMenuItem* item : menu->GetMenuItems()) {
      if (item->IsSeparator()) {
        out << "MENU\t" << Field(popup) << "\t0\t-\t0\n";
        continue;
      }
      out << "MENU\t" << Field(popup) << "\t" << item->GetId() << "\t" << Field(item->GetItemLabel())
          << "\t" << (item->IsEnabled() ? 1 : 0) << "\t" << Field(item->GetHelp()) << "\n";
    }
  }
  for (const wxAcceleratorEntry& a : frame->Accelerators())
    out << "ACCEL\t" << a.GetCommand() << "\t" << Field(a.ToRawString()) << "\n";
  wxToolBar* tools = frame->ToolBar();
  for (size_t i = 0; tools && i < tools->GetToolsCount(); ++i) {
    const wxToolBarToolBase* tool = tools->GetToolByPos(static_cast<int>(i));
    out << "TOOL\t" << (tool->IsSeparator() ? 0 : tool->GetId()) << "\t"
        << Field(tool->GetLongHelp()) << "\t" << (tool->IsEnabled() ? 1 : 0) << "\n";
  }
  wxStatusBar* status = frame->GetStatusBar();
  out << "STATUSFIELDS\t" << (status ? status->GetFieldsCount() : 0) << "\n";
  out << "STATUS\t" << (status ? Field(status->GetStatusText(0)) : "") << "\n";
  out << "ICON\t" << (frame->GetIcons().IsEmpty() ? 0 : 1) << "\n";
  TPavSdiEditFile* editor = frame->Client();
  out << "EDITOR\t" << Field(editor->GetValue()) << "\n";
  out << "FILENAME\t" << Field(editor->FileName()) << "\n";
  out << "MODIFIED\t" << (editor->IsModified() ? 1 : 0) << "\n";
  out << "FIXEDFONT\t" << (editor->GetFont().IsFixedWidth() ? 1 : 0) << "\n";
  long from, to;
  editor->GetSelection(&from, &to);
  out << "SELECTION\t" << from << ":" << to << "\n";
  out << "TABFILE\t" << Field(WorkingState.TabFile) << "\n";
  out << "TABTEXT\t" << Field(WorkingState.TabText.c_str()) << "\n";
  out << "END\n";
}

void Screenshot(const std::string& path) {
  wxScreenDC screen;
  wxSize size = screen.GetSize();
  wxBitmap shot(size.x, size.y, 24);
  wxMemoryDC memory(shot);
  memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
  memory.SelectObject(wxNullBitmap);
  shot.SaveFile(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
}

// The pointer over the middle of a tool of the tool bar.
void HoverTool(int id) {
  wxToolBar* tools = frame->ToolBar();
  wxRect rect = ToolRect(tools, tools->GetToolPos(id));
  if (!rect.IsEmpty()) wxUIActionSimulator().MouseMove(tools->ClientToScreen(rect.GetPosition() + rect.GetSize() / 2));
}

void PostCommand(int id) {
  wxCommandEvent event(wxEVT_MENU, id);
  event.SetEventObject(frame);
  wxPostEvent(frame, event);
}

class TStepRunner : public wxTimer {
 public:
  void Notify() override {
    if (waitUntil_ > 0 && wxGetLocalTimeMillis() < waitUntil_) return;
    waitUntil_ = 0;
    if (waitingForBox_ && !boxShowing) return;
    waitingForBox_ = false;
    if (waitingForNoBox_ && boxShowing) return;
    waitingForNoBox_ = false;
    if (boxKeyTries_ > 0 && boxShowing && boxesShown == boxKeyBox_) {
      // A key meant for a box can reach the display before the box has the
      // focus: send it again until the box closes (the next box is not
      // meant).
      if (wxGetLocalTimeMillis() >= boxKeyAgain_) SendBoxKey();
      return;
    }
    boxKeyTries_ = 0;
    if (steps.empty()) {
      Stop();
      return;
    }
    std::string step = steps.front();
    steps.pop_front();
    Log("STEP\t" + step);
    size_t blank = step.find(' ');
    std::string verb = step.substr(0, blank);
    std::string argument = blank == std::string::npos ? "" : step.substr(blank + 1);
    Run(verb, argument);
  }

 private:
  void Run(const std::string& verb, const std::string& argument) {
    if (verb == "answer") {
      boxAnswers.push_back(argument);
    } else if (verb == "file") {
      fileAnswers.push_back(argument);
    } else if (verb == "key") {
      int key, modifiers;
      if (!ParseKey(argument, &key, &modifiers)) return;
      if (boxShowing) {
        boxKey_ = key;
        boxModifiers_ = modifiers;
        boxKeyTries_ = 10;
        boxKeyBox_ = boxesShown;
        SendBoxKey();
        return;
      }
      frame->Raise();
      frame->Client()->SetFocus();
      wxUIActionSimulator().Char(key, modifiers);
    } else if (verb == "command") {
      PostCommand(std::atoi(argument.c_str()));
    } else if (verb == "recent") {
      PostCommand(wxID_FILE1 + std::atoi(argument.c_str()));
    } else if (verb == "drop") {
      wxString name = wxString::FromUTF8(argument);
      frame->CallAfter([name] { frame->DropFiles(wxArrayString(1, &name)); });
    } else if (verb == "rawkey") {
      // To whichever window has the focus, as a user's key goes.
      int key, modifiers;
      if (ParseKey(argument, &key, &modifiers)) wxUIActionSimulator().Char(key, modifiers);
    } else if (verb == "hover") {
      HoverTool(std::atoi(argument.c_str()));
    } else if (verb == "updateui") {
      frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    } else if (verb == "type") {
      frame->Raise();
      frame->Client()->SetFocus();
      wxUIActionSimulator().Text(argument.c_str());
    } else if (verb == "waitbox") {
      waitingForBox_ = true;
    } else if (verb == "waitclosed") {
      waitingForNoBox_ = true;
    } else if (verb == "wait") {
      waitUntil_ = wxGetLocalTimeMillis() + std::atol(argument.c_str());
    } else if (verb == "screenshot") {
      Screenshot(argument);
    } else if (verb == "dump") {
      Dump(argument);
    } else if (verb == "quit") {
      frame->CallAfter([] { frame->Close(); });
    } else {
      ShellSteps(verb, argument);
    }
  }

  void SendBoxKey() {
    --boxKeyTries_;
    boxKeyAgain_ = wxGetLocalTimeMillis() + 500;
    wxUIActionSimulator().Char(boxKey_, boxModifiers_);
  }

  wxLongLong waitUntil_ = 0;
  int boxKey_ = 0;
  int boxModifiers_ = 0;
  int boxKeyTries_ = 0;
  int boxKeyBox_ = 0;
  wxLongLong boxKeyAgain_ = 0;
  bool waitingForBox_ = false;
  bool waitingForNoBox_ = false;
};

TStepRunner* runner = nullptr;

// A question or box answered by the script (false: show it).
bool AnswerBox(bool question, int* answer) {
  if (!boxAnswers.empty() && boxAnswers.front() == "show") {
    boxAnswers.pop_front();
    return false;
  }
  if (!question) {
    *answer = 1;
    return true;
  }
  *answer = 2;
  if (!boxAnswers.empty()) {
    *answer = std::atoi(boxAnswers.front().c_str());
    boxAnswers.pop_front();
  }
  return true;
}

class TScriptedDialogs : public platform::Dialogs {
 public:
  explicit TScriptedDialogs(platform::Dialogs* shown) : shown_(shown) {}
  int MessageBox(const char* text, const char* caption, unsigned type) override {
    bool question = type == 3;
    int answer;
    if (!AnswerBox(question, &answer)) {
      boxShowing = true;
      ++boxesShown;
      answer = shown_->MessageBox(text, caption, type);
      boxShowing = false;
    }
    Log(std::string("BOX\t") + (question ? "ASK" : "INFO") + "\t" + Field(caption) + "\t" +
        Field(text) + "\t" + std::to_string(answer));
    return answer;
  }

 private:
  platform::Dialogs* shown_;
};

class TLoggedCues : public platform::Sound {
 public:
  explicit TLoggedCues(platform::Sound* played) : played_(played) {}
  void PlayCue(const char* path) override {
    Log("CUE\t" + Field(path));
    played_->PlayCue(path);
  }

 private:
  platform::Sound* played_;
};

class TLoggedPrograms : public platform::Programs {
 public:
  explicit TLoggedPrograms(platform::Programs* started) : started_(started) {}
  void Exec(const char* commandLine, int showMode) override {
    Log("RUN\t" + Field(commandLine) + "\t" + std::to_string(showMode));
    started_->Exec(commandLine, showMode);
  }

 private:
  platform::Programs* started_;
};

// The next "file" step answers; "cancel" or none is not confirming.
class TScriptedFileDialogs : public platform::FileDialogs {
 public:
  bool ChooseFile(bool, const char*, const char*, std::string* name) override {
    if (fileAnswers.empty()) return false;
    std::string answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer == "cancel") return false;
    *name = formats::Utf8ToCp1252(answer);
    return true;
  }
};

// Every command the frame dispatches, recent files aside, before the frame
// runs it.
void LogCommand(wxCommandEvent& event) {
  int id = event.GetId();
  if (id < wxID_FILE1 || id > wxID_FILE9) Log("CMD\t" + std::to_string(id));
  event.Skip();
}

}  // namespace

bool Open() {
  const char* script = std::getenv("PAVSDI_TEST_SCRIPT");
  if (!script || !*script) return false;
  std::ifstream in(script);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    steps.push_back(line);
  }
  const char* log = std::getenv("PAVSDI_TEST_LOG");
  if (log && *log) logFile = std::fopen(log, "w");
  wxImage::AddHandler(new wxPNGHandler);
  return true;
}

void WrapServices(platform::Services& services) {
  static TScriptedDialogs dialogs(services.dialogs);
  static TLoggedCues cues(services.sound);
  static TLoggedPrograms programs(services.programs);
  static TScriptedFileDialogs files;
  services.dialogs = &dialogs;
  services.sound = &cues;
  services.programs = &programs;
  services.files = &files;
}

wxDialog* ShownDialog() {
  for (wxWindow* window : wxTopLevelWindows) {
    auto* dialog = wxDynamicCast(window, wxDialog);
    if (dialog && dialog->IsModal()) return dialog;
  }
  return nullptr;
}

TPavPreviewWin* ShownPreview() {
  for (wxWindow* window : wxTopLevelWindows)
    if (auto* preview = dynamic_cast<TPavPreviewWin*>(window); preview && preview->IsShown()) return preview;
  return nullptr;
}

void LogLine(const std::string& line) { Log(line); }

void Start(TSDIDecFrame* mainFrame) {
  frame = mainFrame;
  frame->Bind(wxEVT_MENU, LogCommand);
  Log("READY");
  runner = new TStepRunner;
  runner->Start(100);
}

}  // namespace testscript
