// Reads the windows of the desktop as a screen reader would find them: one
// line per visible top-level window, then one per control inside it, with
// its class, id, text and state, the focused one marked. Run in the same
// wine prefix as the program it looks at. Lines in UTF-8, tab-separated:
//   window<TAB>class<TAB>title<TAB>handle[<TAB>foreground]
//   control<TAB>class<TAB>id<TAB>text[<TAB>focus][<TAB>disabled]
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& wide) {
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, text.data(), length, nullptr, nullptr);
  text.resize(static_cast<size_t>(length > 0 ? length - 1 : 0));
  // One line a window: line ends and tabs written as escapes.
  std::string escaped;
  for (char c : text) {
    if (c == '\n') escaped += "\\n";
    else if (c == '\r') continue;
    else if (c == '\t') escaped += "\\t";
    else escaped += c;
  }
  return escaped;
}

// Another process's control answers WM_GETTEXT with its real text.
std::wstring Text(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  text.resize(copied);
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

HWND focus = nullptr;

BOOL CALLBACK Control(HWND control, LPARAM) {
  if (!IsWindowVisible(control)) return TRUE;
  std::printf("control\t%s\t%d\t%s%s%s\n", Utf8(ClassName(control)).c_str(), GetDlgCtrlID(control),
              Utf8(Text(control)).c_str(), control == focus ? "\tfocus" : "",
              IsWindowEnabled(control) ? "" : "\tdisabled");
  return TRUE;
}

BOOL CALLBACK TopLevel(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  std::wstring title = Text(window);
  std::wstring type = ClassName(window);
  // The desktop's own windows are not the program's.
  if (title.empty() && type != L"#32770") return TRUE;
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  focus = thread.hwndFocus;
  std::printf("window\t%s\t%s\t%llx%s\n", Utf8(type).c_str(), Utf8(title).c_str(),
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
              window == GetForegroundWindow() || window == thread.hwndActive ? "\tforeground" : "");
  EnumChildWindows(window, Control, 0);
  return TRUE;
}

}  // namespace

int main() {
  EnumWindows(TopLevel, 0);
  std::fflush(stdout);
  return 0;
}
