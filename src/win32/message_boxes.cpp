#include "win32/message_boxes.h"

#include <windows.h>

#include "win32/keys_while_playing.h"
#include "win32/main_frame.h"
#include "win32/wide.h"

#undef MessageBox

namespace {

HHOOK hook = nullptr;

// The box's buttons in the program's language, named before it shows: the
// system gives its own language's words and letters.
LRESULT CALLBACK NameButtons(int code, WPARAM wParam, LPARAM lParam) {
  wchar_t type[16] = L"";
  if (code == HCBT_ACTIVATE && GetClassNameW(reinterpret_cast<HWND>(wParam), type, 16) && lstrcmpW(type, L"#32770") == 0) {
    auto box = reinterpret_cast<HWND>(wParam);
    if (GetDlgItem(box, IDYES)) SetDlgItemTextW(box, IDYES, L"&Oui");
    if (GetDlgItem(box, IDNO)) SetDlgItemTextW(box, IDNO, L"&Non");
    if (GetDlgItem(box, IDCANCEL)) SetDlgItemTextW(box, IDCANCEL, L"Annuler");
    UnhookWindowsHookEx(hook);
    hook = nullptr;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int TMessageBoxes::MessageBox(const char* text, const char* caption, unsigned type) {
  BetweenPlayings();
  UINT style = type == 3 ? MB_YESNOCANCEL : type == 64 ? MB_OK | MB_ICONINFORMATION : type;
  HWND owner = MainWindow();
  // Before the main window shows, the box stands alone and takes the focus.
  if (!owner || !IsWindowVisible(owner)) {
    owner = nullptr;
    style |= MB_TASKMODAL | MB_SETFOREGROUND;
  }
  hook = SetWindowsHookExW(WH_CBT, NameButtons, nullptr, GetCurrentThreadId());
  int answer = MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), style);
  if (hook) {
    UnhookWindowsHookEx(hook);
    hook = nullptr;
  }
  return answer;
}
