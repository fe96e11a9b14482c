#include "win32/file_dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include "core/prompts.h"
#include "core/text_files.h"
#include "win32/main_frame.h"
#include "win32/wide.h"

namespace {

// "Tablatures (*.tab)|*.tab|" -> "Tablatures (*.tab)\0*.tab\0\0".
std::wstring Filter(const char* filter) {
  std::wstring wide = Wide(filter);
  if (wide.empty() || wide.back() != L'|') wide += L'|';
  for (wchar_t& c : wide) {
    if (c == L'|') c = L'\0';
  }
  wide += L'\0';
  return wide;
}

}  // namespace

bool TFileDialogs::ChooseFile(bool save, const char* title, const char* filter, std::string* name) {
  wchar_t chosen[MAX_PATH] = L"";
  std::wstring filters = Filter(filter);
  std::wstring caption = Wide(title);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = MainWindow();
  dialog.lpstrFilter = filters.c_str();
  dialog.lpstrFile = chosen;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrTitle = caption.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                 (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return false;
  *name = Cp1252(chosen);
  if (FitsCp1252(chosen)) return true;
  ShowInfo(name->c_str(), kNameNotWritable);
  return false;
}
