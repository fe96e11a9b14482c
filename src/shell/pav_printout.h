// The printout of the document window: divides its text into pages and has
// the window draw each page.
#pragma once
#include <wx/print.h>

class TPavSdiEditFile;

class TPavPrintout : public wxPrintout {
 public:
  TPavPrintout(const wxString& title, TPavSdiEditFile* window, bool scale = true);

  // Pages 1 to the page count of the window's text on this device.
  void GetPageInfo(int* minPage, int* maxPage, int* fromPage, int* toPage) override;
  bool HasPage(int page) override;
  bool OnPrintPage(int page) override;

  // The page in the window's (screen) pixels; the device context is mapped
  // onto it when scaling is on.
  wxRect ScreenPage() const;
  void MapDC(wxDC& dc) const;

 private:
  TPavSdiEditFile* window_;
  bool scale_;
  int pages_ = 1;
};
