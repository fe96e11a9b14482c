// The print preview: a frame over the document window showing one or two
// pages as the printer would print them, with its own tool bar.
#pragma once
#include <memory>

#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>

#include "app/print_pages.h"

class TPavPrintout;
class TPavSdiEditFile;
class TPreviewPage;
struct TPavPrinter;

enum : int {
  kPreviousPage = 24500, kNextPage = 24501, kOnePage = 24502, kTwoPages = 24503, kPageLabel = 24504,
  kClosePreview = 24505,
};

class TPavPreviewWin : public wxFrame {
 public:
  TPavPreviewWin(wxWindow* parent, TPavSdiEditFile* window, TPavPrinter& printer, const wxString& title);
  ~TPavPreviewWin() override;

  // Runs until closed; the answer is Cancel (2).
  int RunModal();

  const TPreviewPages& Shown() const { return shown_; }
  int PageCount() const { return pageCount_; }
  bool Landscape() const { return paper_.x > paper_.y; }
  wxString Label() const;
  wxToolBar* Tools() const { return tools_; }
  // Draws page `page` (0: blank) into `dc`, `size` being the page view.
  void DrawPage(wxDC& dc, int page, const wxSize& size);
  // True when the command's button is enabled now.
  bool Enabled(int id) const;

 private:
  void BuildToolBar();
  void PlacePages();
  void ShowPages();
  void OnCommand(wxCommandEvent& event);
  void OnUpdate(wxUpdateUIEvent& event);
  void OnClose(wxCloseEvent& event);
  void EndPreview(bool fromFrame);

  TPavSdiEditFile* window_;
  TPavPrinter& printer_;
  std::unique_ptr<TPavPrintout> printout_;
  wxSize paper_;  // the page in printer pixels
  int pageCount_ = 1;
  TPreviewPages shown_;
  wxWindow* layout_;
  TPreviewPage* pages_[2];
  wxToolBar* tools_ = nullptr;
  wxStaticText* label_ = nullptr;
  wxGUIEventLoop* loop_ = nullptr;
  bool closing_ = false;
};
