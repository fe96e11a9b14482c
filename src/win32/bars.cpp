#include "win32/bars.h"

#include <string>

#include <commctrl.h>

#include "app/tool_bar.h"
#include "core/command_rows.h"
#include "core/command_table.h"
#include "core/working_state.h"
#include "win32/wide.h"

namespace {

constexpr int kHintPart = 0;
constexpr int kTablaturePart = 1;
constexpr int kFirstLockPart = 2;

// The system's own pictures of the commands.
int StandardImage(int id) {
  switch (id) {
    case kNewCommand: return STD_FILENEW;
    case kOpenCommand: return STD_FILEOPEN;
    case kSaveCommand: return STD_FILESAVE;
    case kCutCommand: return STD_CUT;
    case kCopyCommand: return STD_COPY;
    case kPasteCommand: return STD_PASTE;
    case kUndoCommand: return STD_UNDO;
    case kFindCommand: return STD_FIND;
    case kFindNextCommand: return STD_REPLACE;
    case kPrintCommand: return STD_PRINT;
    case kPrintPreviewCommand: return STD_PRINTPRE;
    default: return STD_PROPERTIES;
  }
}

// A menu text without its "&" and shortcut, for a button's tip.
std::wstring PlainText(int id) {
  const TCommandRow* item = FindCommandRow(id);
  std::wstring text;
  if (!item) return text;
  for (const wchar_t c : Wide(item->text)) {
    if (c == L'\t') break;
    if (c != L'&') text += c;
  }
  return text;
}

HWND CreateToolBar(HWND frame) {
  HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"Toolbar",
                             WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0, frame,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBADDBITMAP images{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
  SendMessageW(bar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&images));
  for (int i = 0; i < kToolBarButtonCount; ++i) {
    int id = kToolBarButtons[i];
    TBBUTTON button{};
    if (id == kNoCommand) {
      button.iBitmap = 6;
      button.fsStyle = BTNS_SEP;
    } else {
      button.iBitmap = StandardImage(id);
      button.idCommand = id;
      button.fsState = TBSTATE_ENABLED;
      button.fsStyle = BTNS_BUTTON;
    }
    SendMessageW(bar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
  }
  SendMessageW(bar, TB_AUTOSIZE, 0, 0);
  return bar;
}

}  // namespace

TBars CreateBars(HWND frame) {
  TBars bars;
  bars.toolBar = CreateToolBar(frame);
  bars.statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                   frame, nullptr, GetModuleHandleW(nullptr), nullptr);
  return bars;
}

void LayOutBars(const TBars& bars, int* top, int* height) {
  SendMessageW(bars.toolBar, TB_AUTOSIZE, 0, 0);
  SendMessageW(bars.statusBar, WM_SIZE, 0, 0);
  RECT tool, status, frame;
  GetWindowRect(bars.toolBar, &tool);
  GetWindowRect(bars.statusBar, &status);
  GetClientRect(GetParent(bars.statusBar), &frame);
  // The hint takes what the tablature's name and the indicators leave.
  int width = frame.right;
  int indicator = (status.bottom - status.top) * 3;
  int locks = width - 3 * indicator;
  int parts[] = {locks - 4 * indicator, locks, width - 2 * indicator, width - indicator, -1};
  SendMessageW(bars.statusBar, SB_SETPARTS, 5, reinterpret_cast<LPARAM>(parts));
  *top = tool.bottom - tool.top;
  *height = frame.bottom - *top - (status.bottom - status.top);
  if (*height < 0) *height = 0;
}

void ShowHint(const TBars& bars, int id) {
  SendMessageW(bars.statusBar, SB_SETTEXTW, kHintPart, reinterpret_cast<LPARAM>(Wide(MenuHint(id)).c_str()));
}

void ShowLockKeys(const TBars& bars) {
  const struct {
    int key;
    const wchar_t* text;
  } locks[] = {{VK_CAPITAL, L"CAPS"}, {VK_NUMLOCK, L"NUM"}, {VK_SCROLL, L"SCRL"}};
  for (int i = 0; i < 3; ++i) {
    const wchar_t* text = (GetKeyState(locks[i].key) & 1) ? locks[i].text : L"";
    SendMessageW(bars.statusBar, SB_SETTEXTW, kFirstLockPart + i, reinterpret_cast<LPARAM>(text));
  }
}

void ShowCurrentTablature(const TBars& bars) {
  const char* name = WorkingState.TabFile;
  for (const char* c = WorkingState.TabFile; *c; ++c) {
    if (*c == '\\' || *c == '/') name = c + 1;
  }
  std::wstring shown = L"tablature : " + Wide(name);
  SendMessageW(bars.statusBar, SB_SETTEXTW, kTablaturePart, reinterpret_cast<LPARAM>(shown.c_str()));
}

bool OnBarNotify(const TBars& bars, NMHDR* header, LRESULT* result) {
  if (header->code == TTN_GETDISPINFOW) {
    auto* tip = reinterpret_cast<NMTTDISPINFOW*>(header);
    static std::wstring text;
    text = PlainText(static_cast<int>(header->idFrom));
    tip->lpszText = text.data();
    *result = 0;
    return true;
  }
  if (header->hwndFrom == bars.toolBar && header->code == static_cast<UINT>(TBN_HOTITEMCHANGE)) {
    auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
    ShowHint(bars, (hot->dwFlags & HICF_LEAVING) ? 0 : hot->idNew);
    *result = 0;
    return true;
  }
  return false;
}

void EnableToolButtons(const TBars& bars) {
  for (int i = 0; i < kToolBarButtonCount; ++i) {
    int id = kToolBarButtons[i];
    if (id != kNoCommand) SendMessageW(bars.toolBar, TB_ENABLEBUTTON, id, MAKELPARAM(CommandEnabled(id), 0));
  }
}
