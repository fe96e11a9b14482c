// The page arithmetic of printing and of the print preview: lines per page,
// page count, the preview's page numbers, label and page view size.
#pragma once

// The height divided by the line height, to the nearest integer.
int LinesPerPage(int height, int lineHeight);
// lines / perPage + 1: an exact multiple still gives one more, empty,
// page; 1 when there are no lines per page or the count would overflow.
int PageCount(long lines, int linesPerPage);

// The pages shown by the preview: the first and second page numbers (equal
// when one page is shown) and whether the second view is there.
struct TPreviewPages {
  int first = 1;
  int second = 1;
  bool two = false;
};

bool CanShowPrevious(const TPreviewPages& shown);
bool CanShowNext(const TPreviewPages& shown, int lastPage);
void ShowPrevious(TPreviewPages& shown, int firstPage);
void ShowNext(TPreviewPages& shown, int lastPage);
void ShowOnePage(TPreviewPages& shown);
void ShowTwoPages(TPreviewPages& shown, int lastPage);
// The page in the second view; 0 (blank) beside a single page.
int SecondViewPage(const TPreviewPages& shown, int lastPage);

// "Page %d", or "Page %d - %d" when two different pages are shown.
void PageLabel(const TPreviewPages& shown, char* text, int size);

// The size of a page view in a preview area: the paper's proportions, 95
// per hundred of the side that bounds it.
void PageViewSize(int areaWidth, int areaHeight, int paperWidth, int paperHeight, int* width, int* height);
