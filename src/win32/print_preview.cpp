// The print preview: a window in the main window's place, one or two pages
// drawn as the printer would print them, a row of buttons above them.
#include <string>

#include "app/file_commands.h"
#include "app/print_pages.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "win32/main_frame.h"
#include "win32/printing.h"
#include "win32/resources.h"
#include "win32/system_look.h"
#include "win32/wide.h"

namespace {

enum : int {
  kPrevious = 24500,
  kNext = 24501,
  kOnePage = 24502,
  kTwoPages = 24503,
  kPageLabel = 24504,
  kClose = 24505,
  kPrint = 24337,
};

const wchar_t kPreviewClass[] = L"PavSdiPreview";

struct TPreview {
  HWND window = nullptr;
  HFONT font = nullptr;
  TPageLayout layout{};
  int paperWidth = 1, paperHeight = 1;
  TPreviewPages shown;
  int barHeight = 0;
  bool running = false;
};
TPreview preview;

void Refresh() {
  HWND w = preview.window;
  EnableWindow(GetDlgItem(w, kPrevious), CanShowPrevious(preview.shown));
  EnableWindow(GetDlgItem(w, kNext), CanShowNext(preview.shown, preview.layout.pages));
  EnableWindow(GetDlgItem(w, kTwoPages), preview.paperWidth <= preview.paperHeight);
  char label[32];
  PageLabel(preview.shown, label, sizeof label);
  SetDlgItemTextW(w, kPageLabel, Wide(label).c_str());
  InvalidateRect(w, nullptr, TRUE);
}

void DrawPageView(HDC dc, const RECT& view, int page) {
  FillRect(dc, &view, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(dc, &view, GetSysColorBrush(COLOR_WINDOWTEXT));
  int saved = SaveDC(dc);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, preview.paperWidth, preview.paperHeight, nullptr);
  SetViewportExtEx(dc, view.right - view.left, view.bottom - view.top, nullptr);
  SetViewportOrgEx(dc, view.left, view.top, nullptr);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  DrawPage(dc, preview.layout, page);
  RestoreDC(dc, saved);
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  int areaWidth = client.right, areaHeight = client.bottom - preview.barHeight;
  if (preview.shown.two) areaWidth /= 2;
  int width = 0, height = 0;
  PageViewSize(areaWidth, areaHeight, preview.paperWidth, preview.paperHeight, &width, &height);
  RECT view{(areaWidth - width) / 2, preview.barHeight + (areaHeight - height) / 2, 0, 0};
  view.right = view.left + width;
  view.bottom = view.top + height;
  DrawPageView(dc, view, preview.shown.first);
  if (preview.shown.two) {
    OffsetRect(&view, areaWidth, 0);
    DrawPageView(dc, view, SecondViewPage(preview.shown, preview.layout.pages));
  }
  EndPaint(window, &paint);
}

void Command(int id) {
  switch (id) {
    case kPrevious: ShowPrevious(preview.shown, 1); break;
    case kNext: ShowNext(preview.shown, preview.layout.pages); break;
    case kOnePage: ShowOnePage(preview.shown); break;
    case kTwoPages: ShowTwoPages(preview.shown, preview.layout.pages); break;
    case kPrint: PrintDocument(); break;
    case kClose:
    case IDCANCEL: preview.running = false; return;
    default: return;
  }
  Refresh();
}

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_SIZE:
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_COMMAND:
      Command(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      preview.running = false;
      PlayCue(kEditionCue);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void AddButtons(HWND window) {
  const struct {
    int id;
    const wchar_t* text;
    int width;
  } row[] = {{kPrevious, L"&Previous", 80}, {kNext, L"&Next", 80},     {kOnePage, L"&One Page", 80},
             {kTwoPages, L"&Two Pages", 80}, {kPageLabel, L"Page 1", 90}, {kPrint, L"&Print...", 80},
             {kClose, L"&Close", 80}};
  TEXTMETRICW metrics;
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, preview.font);
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  int height = metrics.tmHeight * 2, x = 4;
  int unit = metrics.tmAveCharWidth;
  for (const auto& item : row) {
    bool label = item.id == kPageLabel;
    HWND control = CreateWindowExW(0, label ? L"STATIC" : L"BUTTON", item.text,
                                   WS_CHILD | WS_VISIBLE | (label ? SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN : WS_TABSTOP | BS_PUSHBUTTON),
                                   x, 4, item.width * unit / 8, height, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(preview.font), FALSE);
    x += item.width * unit / 8 + 6;
  }
  preview.barHeight = height + 8;
}

void RegisterPreviewClass() {
  WNDCLASSEXW type{};
  type.cbSize = sizeof type;
  type.lpfnWndProc = PreviewProc;
  type.hInstance = GetModuleHandleW(nullptr);
  type.hIcon = LoadIconW(type.hInstance, MAKEINTRESOURCEW(kIconId));
  type.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  type.lpszClassName = kPreviewClass;
  RegisterClassExW(&type);
}

}  // namespace

void ShowPrintPreview() {
  HWND main = MainWindow();
  HDC printer = PrinterContext();
  if (!main || !printer) return;
  preview = TPreview{};
  preview.layout = LayOutPages(printer);
  preview.paperWidth = GetDeviceCaps(printer, HORZRES);
  preview.paperHeight = GetDeviceCaps(printer, VERTRES);
  DeleteDC(printer);
  static bool registered = false;
  if (!registered) RegisterPreviewClass();
  registered = true;
  RECT place;
  GetWindowRect(main, &place);
  std::wstring title = Wide((WindowText(main) + " (Preview)").c_str());
  preview.window = CreateWindowExW(0, kPreviewClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  preview.font = MessageFont(preview.window);
  AddButtons(preview.window);
  Refresh();
  ShowWindow(preview.window, SW_SHOW);
  ShowWindow(main, SW_HIDE);
  SetFocus(GetDlgItem(preview.window, kClose));
  // Escape and Alt+C close it, Tab walks the buttons.
  preview.running = true;
  MSG message;
  while (preview.running && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
      preview.running = false;
      continue;
    }
    if (IsDialogMessageW(preview.window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (message.message == WM_QUIT) PostQuitMessage(static_cast<int>(message.wParam));
  GetWindowRect(preview.window, &place);
  SetWindowPos(main, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_SHOWWINDOW);
  DestroyWindow(preview.window);
  DeleteObject(preview.font);
  DeleteObject(preview.layout.font);
  preview = TPreview{};
  SetForegroundWindow(main);
}
