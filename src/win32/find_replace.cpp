// The editor's search: the system's find and replace dialogs, modeless over
// the main window, their requests coming back as FINDMSGSTRING.
#include <cwctype>
#include <string>

#include "core/prompts.h"
#include "win32/editor.h"
#include "win32/wide.h"

namespace {

// A search heard by ear: a match is heard as the selection moves, its
// absence only when said.
void ShowSearchResult(const wchar_t* wanted, int replaced) {
  std::string text = replaced > 1    ? std::to_string(replaced) + " remplacements"
                     : replaced == 1 ? std::string("1 remplacement")
                                     : "« " + Cp1252(wanted) + " » introuvable";
  ShowInfo(text.c_str(), "Rechercher");
}

std::wstring ControlText(HWND edit) {
  int length = GetWindowTextLengthW(edit);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(edit, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

void Selection(HWND edit, size_t* from, size_t* to) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  *from = start;
  *to = end;
}

}  // namespace

void TEditor::ShowFind(bool replace) {
  if (findDialog_) DestroyWindow(findDialog_);
  findData_.hwndOwner = GetParent(edit_);
  findDialog_ = replace ? ReplaceTextW(&findData_) : FindTextW(&findData_);
}

// Searching down, the first match at or after `start`; up, the last one
// that begins before it. Whole words only when asked.
bool TEditor::FindFrom(size_t start, bool down) {
  std::wstring text = ControlText(edit_), wanted = find_;
  if (wanted.empty()) return false;
  DWORD flags = findData_.Flags;
  if (!(flags & FR_MATCHCASE)) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    for (wchar_t& c : wanted) c = static_cast<wchar_t>(std::towlower(c));
  }
  auto wordAt = [&text](size_t i) { return i < text.size() && (std::iswalnum(text[i]) || text[i] == L'_'); };
  auto whole = [&](size_t at) {
    return !(flags & FR_WHOLEWORD) || ((at == 0 || !wordAt(at - 1)) && !wordAt(at + wanted.size()));
  };
  size_t at = std::wstring::npos;
  if (down) {
    for (at = text.find(wanted, start); at != std::wstring::npos && !whole(at);) at = text.find(wanted, at + 1);
  } else {
    for (size_t before = start; before-- > 0;) {
      at = text.rfind(wanted, before);
      if (at == std::wstring::npos || whole(at)) break;
      before = at;
      at = std::wstring::npos;
    }
  }
  if (at == std::wstring::npos) return false;
  SendMessageW(edit_, EM_SETSEL, at, at + wanted.size());
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  return true;
}

void TEditor::FindNextMatch() {
  size_t from, to;
  Selection(edit_, &from, &to);
  bool down = (findData_.Flags & FR_DOWN) != 0;
  if (!FindFrom(down ? to : from, down)) ShowSearchResult(find_, 0);
}

void TEditor::OnFind(const FINDREPLACEW& request) {
  if (request.Flags & FR_DIALOGTERM) {
    findDialog_ = nullptr;
    SetFocus(edit_);
    return;
  }
  size_t from, to;
  Selection(edit_, &from, &to);
  bool down = (request.Flags & FR_DOWN) != 0;
  if (request.Flags & FR_FINDNEXT) {
    // The selection itself may be the match.
    if (!FindFrom(down ? from : to, down)) ShowSearchResult(find_, 0);
  } else if (request.Flags & FR_REPLACE) {
    if (from != to) ReplaceSelection(replace_);
    FindNextMatch();
  } else if (request.Flags & FR_REPLACEALL) {
    size_t next = 0;
    int replaced = 0;
    while (FindFrom(next, true)) {
      Selection(edit_, &from, &to);
      ReplaceSelection(replace_);
      next = from + std::wstring(replace_).size();
      ++replaced;
    }
    ShowSearchResult(find_, replaced);
  }
}
