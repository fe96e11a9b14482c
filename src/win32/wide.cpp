#include "win32/wide.h"

namespace {

constexpr UINT kCodePage = 1252;

}  // namespace

std::wstring Wide(const char* cp1252) {
  int length = MultiByteToWideChar(kCodePage, 0, cp1252, -1, nullptr, 0);
  if (length <= 1) return L"";
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(kCodePage, 0, cp1252, -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length - 1));
  return wide;
}

std::string Cp1252(const wchar_t* wide) {
  int length = WideCharToMultiByte(kCodePage, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return "";
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kCodePage, 0, wide, -1, text.data(), length, nullptr, nullptr);
  text.resize(static_cast<size_t>(length - 1));
  return text;
}

bool FitsCp1252(const wchar_t* wide) {
  BOOL lost = FALSE;
  WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, &lost);
  return !lost;
}

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, text.data(), length + 1);
  return Cp1252(text.c_str());
}
