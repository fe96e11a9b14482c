#include "shell/sdi_dec_frame.h"

#include <memory>

#include <wx/dnd.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "app/file_commands.h"
#include "app/recent_files.h"
#include "app/tool_bar.h"
#include "core/command_rows.h"
#include "core/command_table.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "core/working_state.h"
#include "formats/encoding.h"
#include "platform/stop_request.h"
#include "shell/glyphs.h"
#include "shell/keys_while_playing.h"
#include "shell/pav_sdi_edit_file.h"
#include "shell/tool_rect.h"
#include "shell/wx_text.h"

namespace {

constexpr int kSeparatorWidth = 6;
constexpr int kToolBarFontSize = 10;
constexpr int kTablatureField = 1;
constexpr int kFirstLockField = 2;
constexpr int kLockFields = 3;
const char* const kLockTexts[kLockFields] = {"CAPS", "NUM", "SCRL"};
const wxKeyCode kLockKeys[kLockFields] = {WXK_CAPITAL, WXK_NUMLOCK, WXK_SCROLL};

int KeyCode(TKey key) {
  switch (key) {
    case TKey::Backspace: return WXK_BACK;
    case TKey::Delete: return WXK_DELETE;
    case TKey::Insert: return WXK_INSERT;
    case TKey::N: return 'N';
    case TKey::O: return 'O';
    case TKey::S: return 'S';
    case TKey::None: return 0;
    default: return WXK_F1 + (static_cast<int>(key) - static_cast<int>(TKey::F1));
  }
}

int AcceleratorFlags(unsigned modifiers) {
  int flags = wxACCEL_NORMAL;
  if (modifiers & kAltKey) flags |= wxACCEL_ALT;
  if (modifiers & kCtrlKey) flags |= wxACCEL_CTRL;
  if (modifiers & kShiftKey) flags |= wxACCEL_SHIFT;
  return flags;
}

// The menu text for the toolkit, which spells the backspace key "Back".
wxString MenuLabel(const char* text) {
  wxString label = Wx(text);
  label.Replace("+BkSp", "+Back");
  return label;
}

// Files dropped on the editor go where files dropped on the frame go.
class TDropTarget : public wxFileDropTarget {
 public:
  explicit TDropTarget(TSDIDecFrame* frame) : frame_(frame) {}
  bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) override {
    frame_->DropFiles(names);
    return true;
  }

 private:
  TSDIDecFrame* frame_;
};

}  // namespace

TSDIDecFrame::TSDIDecFrame(const wxString& caption, TPavSdiEditFile* client)
    : wxFrame(nullptr, wxID_ANY, caption, wxDefaultPosition, wxSize(760, 540)),
      client_(client ? client : new TPavSdiEditFile(this)),
      lockTimer_(this) {
  Bind(wxEVT_MENU, &TSDIDecFrame::OnCommand, this);
  Bind(wxEVT_UPDATE_UI, &TSDIDecFrame::OnUpdateEdit, this);
  Bind(wxEVT_CLOSE_WINDOW, &TSDIDecFrame::OnClose, this);
  Bind(wxEVT_DROP_FILES, &TSDIDecFrame::OnDropFiles, this);
  Bind(wxEVT_TOOL_ENTER, &TSDIDecFrame::OnToolEnter, this);
  Bind(wxEVT_TIMER, &TSDIDecFrame::OnLockTimer, this);
  client_->SetDropTarget(new TDropTarget(this));
  harbor_.SetManagedWindow(this);
  harbor_.AddPane(client_, wxAuiPaneInfo().Name("client").CenterPane());
  harbor_.Update();
}

TSDIDecFrame::~TSDIDecFrame() { harbor_.UnInit(); }

void TSDIDecFrame::AssignMenu() {
  auto* bar = new wxMenuBar;
  std::vector<wxAcceleratorEntry> frameOnly;
  for (const TMenu& popup : Menus()) {
    auto* menu = new wxMenu;
    for (const TCommandRow& row : popup.rows) {
      if (row.separatorBefore) menu->AppendSeparator();
      wxMenuItem* added = menu->Append(row.id, MenuLabel(row.text), Wx(row.hint));
      if (row.grayed) added->Enable(false);
      if (row.accelerator.key == TKey::None) continue;
      wxAcceleratorEntry accelerator(AcceleratorFlags(row.accelerator.modifiers),
                                     KeyCode(row.accelerator.key), row.id);
      accelerators_.push_back(accelerator);
      // The menu's own accelerator works through the toolkit; a second one
      // in the frame's table would run the command twice.
      std::unique_ptr<wxAcceleratorEntry> carried(added->GetAccel());
      if (!carried || !(*carried == accelerator)) frameOnly.push_back(accelerator);
    }
    bar->Append(menu, Wx(popup.title));
  }
  SetMenuBar(bar);
  if (!frameOnly.empty())
    SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(frameOnly.size()), frameOnly.data()));
  RefreshRecentFiles();
}

void TSDIDecFrame::InsertStatusBar() {
  wxStatusBar* bar = CreateStatusBar(kFirstLockField + kLockFields);
  int widths[kFirstLockField + kLockFields] = {-1, 220, 48, 48, 48};
  int styles[kFirstLockField + kLockFields] = {wxSB_SUNKEN, wxSB_SUNKEN, wxSB_SUNKEN, wxSB_SUNKEN, wxSB_SUNKEN};
  bar->SetStatusWidths(kFirstLockField + kLockFields, widths);
  bar->SetStatusStyles(kFirstLockField + kLockFields, styles);
  ShowCurrentTablature();
  lockTimer_.Start(250);
}

// What F5 and the measure commands play, whatever the editor shows.
void TSDIDecFrame::ShowCurrentTablature() {
  wxStatusBar* bar = GetStatusBar();
  if (!bar) return;
  const char* name = WorkingState.TabFile;
  for (const char* c = WorkingState.TabFile; *c; ++c)
    if (*c == '\\' || *c == '/') name = c + 1;
  wxString shown = "tablature : " + Wx(name);
  if (bar->GetStatusText(kTablatureField) != shown) bar->SetStatusText(shown, kTablatureField);
}

void TSDIDecFrame::InsertToolBar() {
  toolBar_ = new wxToolBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                           wxTB_FLAT | wxTB_NODIVIDER | wxTB_HORIZONTAL);
  toolBar_->SetFont(wxFont(wxFontInfo(kToolBarFontSize)));
  toolBar_->SetToolSeparation(kSeparatorWidth);
  for (int i = 0; i < kToolBarButtonCount; ++i) {
    int id = kToolBarButtons[i];
    if (id == 0) {
      toolBar_->AddSeparator();
      continue;
    }
    const TCommandRow* row = FindCommandRow(id);
    wxString label = wxMenuItem::GetLabelText(Wx(row->text));
    toolBar_->AddTool(id, label, ToolGlyph(id), label, wxITEM_NORMAL);
    toolBar_->SetToolLongHelp(id, Wx(row->hint));
  }
  toolBar_->Realize();
  harbor_.AddPane(toolBar_, wxAuiPaneInfo().Name("Toolbar").Caption("Toolbar").ToolbarPane().Top().Dockable(true).Floatable(true).Gripper(true));
  harbor_.Update();
}

void TSDIDecFrame::RefreshRecentFiles() {
  wxMenuBar* bar = GetMenuBar();
  if (!bar) return;
  wxMenu* tabla = bar->GetMenu(0);
  for (int i = 0; i < recentShown_; ++i) tabla->Destroy(wxID_FILE1 + i);
  if (recentShown_ > 0) {
    // Our separator sits just before Exit.
    size_t exitAt = 0;
    tabla->FindChildItem(kExitCommand, &exitAt);
    tabla->Destroy(tabla->FindItemByPosition(exitAt - 1));
  }
  recentShown_ = 0;
  size_t at = 0;
  tabla->FindChildItem(kExitCommand, &at);
  char name[kRecentNameSize];
  for (int i = 0; i < kRecentFileCount && GetMenuText(i, name, sizeof name); ++i) {
    wxString shown = Wx(name);
    shown.Replace("&", "&&");
    wxString label = wxString::Format("&%d ", i + 1) + shown;
    tabla->Insert(at++, wxID_FILE1 + i, label);
    ++recentShown_;
  }
  if (recentShown_ > 0) tabla->InsertSeparator(at);
}

void TSDIDecFrame::DropFiles(const wxArrayString& names) {
  if (names.empty()) return;
  // A name Windows-1252 cannot hold would open another file.
  std::string name = Cp1252(names[0]);
  if (!formats::FitsCp1252(std::string(names[0].utf8_str()))) {
    ShowInfo(name.c_str(), kNameNotWritable);
    return;
  }
  OpenDroppedFile(name.c_str());
  RefreshRecentFiles();
}

void TSDIDecFrame::OnDropFiles(wxDropFilesEvent& event) {
  wxArrayString names;
  for (int i = 0; i < event.GetNumberOfFiles(); ++i) names.Add(event.GetFiles()[i]);
  DropFiles(names);
}

void TSDIDecFrame::OnCommand(wxCommandEvent& event) {
  int id = event.GetId();
  if (id >= wxID_FILE1 && id < wxID_FILE1 + kRecentFileCount) {
    OpenRecentFile(id - wxID_FILE1);
    RefreshRecentFiles();
    ShowCurrentTablature();
    return;
  }
  BetweenPlayings();
  platform::ClearStopRequest();
  // A command no part supplies does nothing; passing it on would let the
  // toolkit's own menu accelerator send it a second time.
  RunCommand(id, "");
  BetweenPlayings();
  RefreshRecentFiles();
  ShowCurrentTablature();
}

// Items whose command has an enable check follow it; the others keep the
// state their rows gave them.
void TSDIDecFrame::OnUpdateEdit(wxUpdateUIEvent& event) {
  if (HasEnableCheck(event.GetId())) {
    event.Enable(CommandEnabled(event.GetId()));
  } else {
    event.Skip();
  }
}

void TSDIDecFrame::OnClose(wxCloseEvent& event) {
  if (event.CanVeto() && !client_->CanClose()) {
    event.Veto();
    return;
  }
  lockTimer_.Stop();
  Destroy();
}

void TSDIDecFrame::OnToolEnter(wxCommandEvent& event) {
  if (GetStatusBar()) SetStatusText(event.GetSelection() > 0 ? Wx(MenuHint(event.GetSelection())) : "", 0);
}

// A disabled tool gets no enter event: the pointer is looked at here, and
// the hint of a disabled tool under it shown (an enabled one shows its own).
void TSDIDecFrame::HintDisabledTool() {
  const wxToolBarToolBase* tool = nullptr;
  if (toolBar_ && toolBar_->IsShownOnScreen()) tool = ToolAt(toolBar_, toolBar_->ScreenToClient(wxGetMousePosition()));
  int id = tool && !tool->IsSeparator() && !tool->IsEnabled() ? tool->GetId() : 0;
  if (id == hintedTool_) return;
  if (id)
    SetStatusText(Wx(MenuHint(id)), 0);
  else if (!tool || tool->IsSeparator())
    SetStatusText("", 0);
  hintedTool_ = id;
}

void TSDIDecFrame::OnLockTimer(wxTimerEvent&) {
  wxStatusBar* bar = GetStatusBar();
  if (!bar) return;
  HintDisabledTool();
  for (int i = 0; i < kLockFields; ++i) {
    wxString shown = wxGetKeyState(kLockKeys[i]) ? kLockTexts[i] : "";
    if (bar->GetStatusText(kFirstLockField + i) != shown) bar->SetStatusText(shown, kFirstLockField + i);
  }
}
