#include "win32/system_look.h"

HFONT MessageFont(HWND window) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  UINT dpi = window ? GetDpiForWindow(window) : 0;
  if (dpi == 0 || !SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  }
  return CreateFontIndirectW(&metrics.lfMessageFont);
}
