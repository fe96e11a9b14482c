#include "win32/printing.h"

#include <cstdio>
#include <string>
#include <vector>

#include <commdlg.h>
#include <winspool.h>

#include "app/document_window.h"
#include "app/print_pages.h"
#include "core/prompts.h"
#include "win32/editor.h"
#include "win32/main_frame.h"
#include "win32/system_look.h"
#include "win32/wide.h"

namespace {

// The printer chosen in the setup; none: the system's default.
HGLOBAL devMode = nullptr;
HGLOBAL devNames = nullptr;

std::vector<std::wstring> Lines() {
  std::vector<std::wstring> lines;
  auto* editor = dynamic_cast<TEditor*>(&DocumentWindow());
  if (!editor) return lines;
  std::wstring text = editor->Text();
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

void ShowPrintError(const char* reason) {
  char message[512];
  std::snprintf(message, sizeof message, "'%s' not printed. %s.", WindowText(MainWindow()).c_str(), reason);
  ShowInfo(message, "Print Error");
}

PRINTDLGW Dialog(DWORD flags) {
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = MainWindow();
  dialog.hDevMode = devMode;
  dialog.hDevNames = devNames;
  dialog.Flags = flags;
  return dialog;
}

void Keep(const PRINTDLGW& dialog) {
  devMode = dialog.hDevMode;
  devNames = dialog.hDevNames;
}

}  // namespace

bool PrinterThere() {
  if (devNames) return true;
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  return size > 0;
}

HDC PrinterContext() {
  PRINTDLGW dialog = Dialog(PD_RETURNDEFAULT | PD_RETURNDC);
  if (devNames) {
    // The chosen printer, without asking.
    auto* names = static_cast<DEVNAMES*>(GlobalLock(devNames));
    auto* mode = devMode ? static_cast<DEVMODEW*>(GlobalLock(devMode)) : nullptr;
    const auto* base = reinterpret_cast<const wchar_t*>(names);
    HDC context = CreateDCW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
    if (mode) GlobalUnlock(devMode);
    GlobalUnlock(devNames);
    return context;
  }
  if (!PrintDlgW(&dialog)) return nullptr;
  if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
  return dialog.hDC;
}

TPageLayout LayOutPages(HDC printer) {
  TPageLayout layout{};
  LOGFONTW font{};
  HFONT screenFont = MessageFont(MainWindow());
  GetObjectW(screenFont, sizeof font, &font);
  DeleteObject(screenFont);
  HDC screen = GetDC(MainWindow());
  font.lfHeight = MulDiv(font.lfHeight, GetDeviceCaps(printer, LOGPIXELSY), GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(MainWindow(), screen);
  layout.font = CreateFontIndirectW(&font);
  HGDIOBJ old = SelectObject(printer, layout.font);
  TEXTMETRICW metrics;
  layout.lineHeight = GetTextMetricsW(printer, &metrics) ? metrics.tmHeight + metrics.tmExternalLeading : 10;
  SelectObject(printer, old);
  layout.linesPerPage = LinesPerPage(GetDeviceCaps(printer, VERTRES), layout.lineHeight);
  layout.pages = PageCount(static_cast<long>(Lines().size()), layout.linesPerPage);
  return layout;
}

void DrawPage(HDC target, const TPageLayout& layout, int page) {
  if (page < 1 || layout.linesPerPage <= 0) return;
  std::vector<std::wstring> lines = Lines();
  HGDIOBJ old = SelectObject(target, layout.font);
  SetBkMode(target, TRANSPARENT);
  for (int i = 0; i < layout.linesPerPage; ++i) {
    size_t line = static_cast<size_t>(page - 1) * static_cast<size_t>(layout.linesPerPage) + static_cast<size_t>(i);
    if (line >= lines.size()) break;
    TabbedTextOutW(target, 0, i * layout.lineHeight, lines[line].c_str(), static_cast<int>(lines[line].size()), 0,
                   nullptr, 0);
  }
  SelectObject(target, old);
}

void PrintDocument() {
  HDC probe = PrinterContext();
  if (!probe) return;
  TPageLayout layout = LayOutPages(probe);
  DeleteDC(probe);
  DeleteObject(layout.font);
  PRINTDLGW dialog = Dialog(PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE);
  dialog.nFromPage = 1;
  dialog.nToPage = static_cast<WORD>(layout.pages);
  dialog.nMinPage = 1;
  dialog.nMaxPage = static_cast<WORD>(layout.pages);
  if (!PrintDlgW(&dialog)) {
    if (CommDlgExtendedError() != 0) ShowPrintError("Error encountered during print");
    return;
  }
  Keep(dialog);
  HDC printer = dialog.hDC;
  layout = LayOutPages(printer);
  int first = 1, last = layout.pages;
  if (dialog.Flags & PD_PAGENUMS) {
    first = dialog.nFromPage;
    last = dialog.nToPage;
  }
  std::wstring title = Wide(WindowText(MainWindow()).c_str());
  DOCINFOW document{sizeof document, title.c_str(), nullptr, nullptr, 0};
  bool printed = StartDocW(printer, &document) > 0;
  for (int page = first; printed && page <= last; ++page) {
    printed = StartPage(printer) > 0;
    if (printed) DrawPage(printer, layout, page);
    printed = printed && EndPage(printer) > 0;
  }
  if (printed) {
    EndDoc(printer);
  } else {
    AbortDoc(printer);
    ShowPrintError("Error encountered during print");
  }
  DeleteObject(layout.font);
  DeleteDC(printer);
}

void ForgetChosenPrinter() {
  if (devMode) GlobalFree(devMode);
  if (devNames) GlobalFree(devNames);
  devMode = devNames = nullptr;
}

void SetUpPrinter() {
  PRINTDLGW dialog = Dialog(PD_PRINTSETUP);
  if (PrintDlgW(&dialog)) Keep(dialog);
}
