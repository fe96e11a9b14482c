#include "win32/main_frame.h"

#include <memory>
#include <string>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include "app/application.h"
#include "app/document_registration.h"
#include "app/file_commands.h"
#include "app/recent_files.h"
#include "core/command_table.h"
#include "drivers/companion_messages.h"
#include "core/prompts.h"
#include "core/text_files.h"
#include "platform/interrupt.h"
#include "platform/stop_request.h"
#include "win32/bars.h"
#include "win32/editor.h"
#include "win32/keys_while_playing.h"
#include "win32/menus.h"
#include "win32/printing.h"
#include "win32/resources.h"
#include "win32/wide.h"

namespace {

constexpr int kEditorId = 100;
const wchar_t kFrameClass[] = L"PavSdiFrame";

struct TFrame {
  HWND window = nullptr;
  HACCEL accelerators = nullptr;
  TBars bars;
  std::unique_ptr<TEditor> editor;
  UINT findMessage = 0;
};
TFrame frame;

void LayOut() {
  if (!frame.editor) return;
  int top = 0, height = 0;
  LayOutBars(frame.bars, &top, &height);
  RECT client;
  GetClientRect(frame.window, &client);
  MoveWindow(frame.editor->Handle(), 0, top, client.right, height, TRUE);
}

void RunMenuCommand(int id) {
  if (id >= kRecentFileItem && id < kRecentFileItem + kRecentFileCount) {
    OpenRecentFile(id - kRecentFileItem);
  } else {
    BetweenPlayings();
    platform::ClearStopRequest();
    if (CommandEnabled(id)) RunCommand(id, "");
    BetweenPlayings();
  }
  if (!frame.window) return;
  ShowCurrentTablature(frame.bars);
  EnableToolButtons(frame.bars);
}

// Only the first dropped file is opened.
void DropFiles(HDROP drop) {
  UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::wstring name(length + 1, L'\0');
  DragQueryFileW(drop, 0, name.data(), length + 1);
  DragFinish(drop);
  name.resize(length);
  std::string path = Cp1252(name.c_str());
  if (!FitsCp1252(name.c_str())) {
    ShowInfo(path.c_str(), kNameNotWritable);
    return;
  }
  OpenDroppedFile(path.c_str());
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == frame.findMessage && frame.editor) {
    frame.editor->OnFind(*reinterpret_cast<FINDREPLACEW*>(lParam));
    return 0;
  }
  switch (message) {
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_SETFOCUS:
      if (frame.editor) SetFocus(frame.editor->Handle());
      return 0;
    case WM_COMMAND:
      // The editor's own notifications.
      if (frame.editor && reinterpret_cast<HWND>(lParam) == frame.editor->Handle()) {
        if (HIWORD(wParam) == EN_CHANGE) EnableToolButtons(frame.bars);
        return 0;
      }
      RunMenuCommand(LOWORD(wParam));
      return 0;
    case WM_INITMENUPOPUP:
      if (!HIWORD(lParam))
        PrepareMenu(reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(wParam) == GetSubMenu(GetMenu(window), 0));
      return 0;
    case WM_MENUSELECT:
      ShowHint(frame.bars, (HIWORD(wParam) == 0xFFFF || (HIWORD(wParam) & MF_POPUP)) ? 0 : LOWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (OnBarNotify(frame.bars, reinterpret_cast<NMHDR*>(lParam), &result)) return result;
      break;
    }
    case WM_DROPFILES:
      DropFiles(reinterpret_cast<HDROP>(wParam));
      ShowCurrentTablature(frame.bars);
      return 0;
    case WM_DPICHANGED: {
      auto* suggested = reinterpret_cast<RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      if (frame.editor) frame.editor->UpdateFont();
      return 0;
    }
    case WM_SETTINGCHANGE: {
      // A new message font or size (large fonts) is taken at once.
      if (frame.editor && wParam == SPI_SETNONCLIENTMETRICS) frame.editor->UpdateFont();
      // The default printer changed: the next print goes to it.
      if (lParam && lstrcmpiW(reinterpret_cast<const wchar_t*>(lParam), L"windows") == 0) ForgetChosenPrinter();
      break;
    }
    case WM_TIMER:
      drivers::ShowCompanionMessages();
      ShowLockKeys(frame.bars);
      return 0;
    case WM_QUERYENDSESSION:
      // A logoff waits, with the reason shown, while the text is not saved.
      if (frame.editor && frame.editor->HasChanges()) {
        ShutdownBlockReasonCreate(window, L"Le texte de l'éditeur n'est pas sauvegardé.");
        return FALSE;
      }
      return TRUE;
    case WM_ENDSESSION:
      // Notes off and recordings written, as on a signal.
      if (wParam) platform::EndUnattended(143);
      ShutdownBlockReasonDestroy(window);
      return 0;
    case WM_CLOSE:
      if (frame.editor && !frame.editor->CanClose()) return 0;
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterFrameClass(HINSTANCE instance) {
  WNDCLASSEXW type{};
  type.cbSize = sizeof type;
  type.lpfnWndProc = FrameProc;
  type.hInstance = instance;
  type.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  type.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  type.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  type.lpszClassName = kFrameClass;
  RegisterClassExW(&type);
}

// The frame, hidden, with its bars and editor.
void BuildFrame() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  // The file dialogs and the accessibility annotations are COM objects.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterFrameClass(instance);
  frame.findMessage = RegisterWindowMessageW(FINDMSGSTRINGW);
  frame.window = CreateWindowExW(WS_EX_ACCEPTFILES, kFrameClass, Wide(kProductCaption).c_str(),
                                 WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 800, 600,
                                 nullptr, BuildMenuBar(), instance, nullptr);
  frame.accelerators = BuildAccelerators();
  frame.bars = CreateBars(frame.window);
  frame.editor = std::make_unique<TEditor>(frame.window, kEditorId);
  LayOut();
}

// The window's keys first go to the accelerators, then to the find dialog.
int RunMessages() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    HWND find = frame.editor ? frame.editor->FindDialog() : nullptr;
    if (find && IsDialogMessageW(find, &message)) continue;
    if (frame.window && TranslateAcceleratorW(frame.window, frame.accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

HWND MainWindow() { return frame.window; }

int RunMainFrame(int argc, const char* const* argv) {
  BuildFrame();
  StartApplication(kProductCaption);
  RegisterDocumentCommands();
  frame.editor->SetupWindow();
  RegisterOrUnregister(argc, argv);
  ShowWindow(frame.window, SW_SHOWNORMAL);
  UpdateWindow(frame.window);
  SetForegroundWindow(frame.window);
  SetFocus(frame.editor->Handle());
  ShowCurrentTablature(frame.bars);
  ShowLockKeys(frame.bars);
  EnableToolButtons(frame.bars);
  // A companion's boxes and the lock keys, looked at four times a second.
  SetTimer(frame.window, 1, 250, nullptr);
  int status = RunMessages();
  if (frame.accelerators) DestroyAcceleratorTable(frame.accelerators);
  frame.editor.reset();
  frame.window = nullptr;
  return status;
}
