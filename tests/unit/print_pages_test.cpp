#include <string>

#include <gtest/gtest.h>

#include "app/print_pages.h"
#include "drivers/default_printer.h"

namespace {

TEST(PrintPages, PageCountAddsAPageAfterAnExactMultiple) {
  struct Case {
    long lines;
    int perPage;
    int pages;
  } cases[] = {{120, 60, 3}, {119, 60, 2}, {100, 40, 3}, {0, 40, 1}, {39, 40, 1}, {5, 0, 1}, {5, -3, 1}};
  for (const Case& c : cases) EXPECT_EQ(c.pages, PageCount(c.lines, c.perPage)) << c.lines << "/" << c.perPage;
}

TEST(PrintPages, LinesPerPageRoundsToTheNearest) {
  EXPECT_EQ(40, LinesPerPage(40 * 15 + 4, 15));
  EXPECT_EQ(41, LinesPerPage(40 * 15 + 8, 15));
  EXPECT_EQ(0, LinesPerPage(7, 15));
  EXPECT_EQ(0, LinesPerPage(100, 0));
}

struct Step {
  char command;  // p previous, n next, 1 one page, 2 two pages
  const char* label;
  bool previous, next;
  int secondView;
};

void Walk(int lastPage, const std::vector<Step>& steps) {
  TPreviewPages shown;
  char label[32];
  for (const Step& s : steps) {
    switch (s.command) {
      case 'p': ShowPrevious(shown, 1); break;
      case 'n': ShowNext(shown, lastPage); break;
      case '1': ShowOnePage(shown); break;
      case '2': ShowTwoPages(shown, lastPage); break;
    }
    PageLabel(shown, label, sizeof label);
    std::string where = std::string(1, s.command) + " of " + std::to_string(lastPage);
    EXPECT_STREQ(s.label, label) << where;
    EXPECT_EQ(s.previous, CanShowPrevious(shown)) << where;
    EXPECT_EQ(s.next, CanShowNext(shown, lastPage)) << where;
    EXPECT_EQ(s.secondView, SecondViewPage(shown, lastPage)) << where;
  }
}

TEST(PreviewPages, OnePageDocument) {
  Walk(1, {{'-', "Page 1", false, false, 1}, {'n', "Page 1", false, false, 1},
           {'2', "Page 1", false, false, 0}, {'1', "Page 1", false, false, 1}});
}

TEST(PreviewPages, ThreePageDocument) {
  Walk(3, {{'-', "Page 1", false, true, 1}, {'2', "Page 1 - 2", false, true, 2},
           {'n', "Page 2 - 3", true, false, 3}, {'n', "Page 2 - 3", true, false, 3},
           {'1', "Page 2", true, true, 2}, {'n', "Page 3", true, false, 3},
           {'2', "Page 2 - 3", true, false, 3}, {'p', "Page 1 - 2", false, true, 2},
           {'p', "Page 1 - 2", false, true, 2}});
}

TEST(PreviewPages, PageViewsKeepThePaperAndFitTheArea) {
  struct Case {
    int areaW, areaH, paperW, paperH, w, h;
  } cases[] = {
      {1000, 500, 210, 297, 335, 475},   // wide area: bound by its height
      {400, 1000, 210, 297, 380, 537},   // tall area: bound by its width
      {100, 80, 210, 297, 53, 76},       // portrait paper in a squat area still fits
      {1000, 500, 297, 210, 671, 475},   // landscape paper
      {0, 500, 210, 297, 0, 0},
  };
  for (const Case& c : cases) {
    int w, h;
    PageViewSize(c.areaW, c.areaH, c.paperW, c.paperH, &w, &h);
    EXPECT_EQ(c.w, w) << c.areaW << "x" << c.areaH;
    EXPECT_EQ(c.h, h) << c.areaW << "x" << c.areaH;
    EXPECT_LE(h, c.areaH);
    EXPECT_LE(w, c.areaW);
  }
}

TEST(DefaultPrinter, LpOptionsDefaultLine) {
  EXPECT_EQ("bureau", drivers::LpOptionsDefault("Dest autre\nDefault bureau/recto sides=two\n"));
  EXPECT_EQ("", drivers::LpOptionsDefault("Dest autre\n"));
}

}  // namespace
