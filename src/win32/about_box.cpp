#include "win32/about_box.h"

#include <vector>

#include "app/about_texts.h"
#include "app/project_rc_version.h"
#include "core/working_state.h"
#include "win32/resources.h"
#include "win32/system_look.h"
#include "win32/wide.h"

namespace {

// The version resource of the program's file as the system reads it; no
// block when it has none or no translation.
formats::TModule ProgramFileVersion(std::vector<unsigned char>& storage) {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return {nullptr, 0};
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return {nullptr, 0};
  storage.assign(size, 0);
  void* translation = nullptr;
  UINT translationSize = 0;
  if (!GetFileVersionInfoW(path, 0, size, storage.data()) ||
      !VerQueryValueW(storage.data(), L"\\VarFileInfo\\Translation", &translation, &translationSize) ||
      translationSize < 4)
    return {nullptr, 0};
  return {storage.data(), size};
}

void SetText(HWND dialog, int id, const char* text) { SetDlgItemTextW(dialog, id, Wide(text).c_str()); }

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  static HFONT font = nullptr;
  switch (message) {
    case WM_INITDIALOG: {
      font = MessageFont(dialog);
      for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      TAboutTexts texts{};
      CopyText(texts.version, WindowText(GetDlgItem(dialog, PAVSDI_ABOUT_VERSION)).c_str());
      CopyText(texts.copyright, WindowText(GetDlgItem(dialog, PAVSDI_ABOUT_COPYRIGHT)).c_str());
      CopyText(texts.special, WindowText(GetDlgItem(dialog, PAVSDI_ABOUT_SPECIAL)).c_str());
      std::vector<unsigned char> storage;
      TProjectRCVersion version(ProgramFileVersion(storage));
      FillAboutTexts(version, texts);
      SetText(dialog, PAVSDI_ABOUT_VERSION, texts.version);
      SetText(dialog, PAVSDI_ABOUT_COPYRIGHT, texts.copyright);
      SetText(dialog, PAVSDI_ABOUT_SPECIAL, texts.special);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      if (font) DeleteObject(font);
      font = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HWND owner) {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(PAVSDI_ABOUT_DIALOG), owner, AboutProc, 0);
}
