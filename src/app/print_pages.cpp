#include "app/print_pages.h"

#include <climits>
#include <cstdio>

int LinesPerPage(int height, int lineHeight) {
  if (lineHeight <= 0 || height <= 0) return 0;
  return (height + lineHeight / 2) / lineHeight;
}

int PageCount(long lines, int linesPerPage) {
  if (linesPerPage <= 0 || lines < 0) return 1;
  long pages = lines / linesPerPage;
  if (pages >= INT_MAX) return 1;
  return static_cast<int>(pages) + 1;
}

bool CanShowPrevious(const TPreviewPages& shown) { return shown.first != 1; }

bool CanShowNext(const TPreviewPages& shown, int lastPage) { return shown.second != lastPage; }

void ShowPrevious(TPreviewPages& shown, int firstPage) {
  if (shown.first <= firstPage) return;
  --shown.first;
  --shown.second;
}

void ShowNext(TPreviewPages& shown, int lastPage) {
  if (shown.second >= lastPage) return;
  ++shown.first;
  ++shown.second;
}

void ShowOnePage(TPreviewPages& shown) {
  shown.two = false;
  shown.second = shown.first;
}

void ShowTwoPages(TPreviewPages& shown, int lastPage) {
  if (shown.two) return;
  shown.two = true;
  if (shown.first != lastPage) {
    shown.second = shown.first + 1;
  } else if (lastPage >= 2) {
    shown.first = lastPage - 1;
    shown.second = lastPage;
  }
}

int SecondViewPage(const TPreviewPages& shown, int lastPage) {
  return shown.two && lastPage < 2 ? 0 : shown.second;
}

void PageLabel(const TPreviewPages& shown, char* text, int size) {
  if (!shown.two || shown.first == shown.second)
    std::snprintf(text, static_cast<size_t>(size), "Page %d", shown.first);
  else
    std::snprintf(text, static_cast<size_t>(size), "Page %d - %d", shown.first, shown.second);
}

void PageViewSize(int areaWidth, int areaHeight, int paperWidth, int paperHeight, int* width, int* height) {
  *width = *height = 0;
  if (areaWidth <= 0 || areaHeight <= 0 || paperWidth <= 0 || paperHeight <= 0) return;
  // Bound by the height when the area is flatter than the paper, so that
  // the page fits whichever way the paper lies.
  if (static_cast<long long>(areaHeight) * paperWidth < static_cast<long long>(areaWidth) * paperHeight) {
    *height = areaHeight * 95 / 100;
    *width = static_cast<int>(static_cast<long long>(*height) * paperWidth / paperHeight);
  } else {
    *width = areaWidth * 95 / 100;
    *height = static_cast<int>(static_cast<long long>(*width) * paperHeight / paperWidth);
  }
}
