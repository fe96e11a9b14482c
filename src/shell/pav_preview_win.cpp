#include "shell/pav_preview_win.h"

#include <wx/artprov.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/paper.h>
#include <wx/stattext.h>

#include "core/command_ids.h"
#include "core/data_files.h"
#include "core/prompts.h"
#include "shell/glyphs.h"
#include "shell/pav_printer.h"
#include "shell/pav_printout.h"
#include "shell/pav_sdi_edit_file.h"
#include "shell/print_commands.h"
#include "shell/wx_text.h"

namespace {

constexpr int kPrinterDpi = 72;
constexpr int kToolBarFontSize = 10;
constexpr int kLabelCharacters = 10;
constexpr int kGap = 12;

// The paper of the print data in printer pixels, turned for landscape.
wxSize PaperPixels(const wxPrintData& data) {
  wxSize tenthsMm(2100, 2970);
  if (const wxPrintPaperType* type = wxThePrintPaperDatabase->FindPaperType(data.GetPaperId()))
    tenthsMm = type->GetSize();
  else if (data.GetPaperSize().x > 0 && data.GetPaperSize().y > 0)
    tenthsMm = data.GetPaperSize() * 10;
  wxSize pixels(tenthsMm.x * kPrinterDpi / 254, tenthsMm.y * kPrinterDpi / 254);
  if (data.GetOrientation() == wxLANDSCAPE) pixels = wxSize(pixels.y, pixels.x);
  return pixels;
}

}  // namespace

// One page view: the page drawn at its size, or a blank page 0.
class TPreviewPage : public wxWindow {
 public:
  TPreviewPage(wxWindow* parent, TPavPreviewWin* preview) : wxWindow(parent, wxID_ANY), preview_(preview) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
      wxPaintDC dc(this);
      preview_->DrawPage(dc, page, GetClientSize());
    });
  }
  int page = 1;

 private:
  TPavPreviewWin* preview_;
};

TPavPreviewWin::TPavPreviewWin(wxWindow* parent, TPavSdiEditFile* window, TPavPrinter& printer,
                               const wxString& title)
    : wxFrame(parent, wxID_ANY, title), window_(window), printer_(printer),
      printout_(std::make_unique<TPavPrintout>("Print Preview", window)),
      paper_(PaperPixels(printer.data.GetPrintData())) {
  SetIcon(ApplicationIcon(32));
  BuildToolBar();
  layout_ = new wxWindow(this, wxID_ANY);
  layout_->SetBackgroundColour(wxColour(128, 128, 128));
  for (auto*& page : pages_) page = new TPreviewPage(layout_, this);
  pages_[1]->Hide();
  layout_->Bind(wxEVT_SIZE, [this](wxSizeEvent&) { PlacePages(); });
  // The page count as the printer would give it.
  wxBitmap scratch(1, 1);
  wxMemoryDC dc(scratch);
  printout_->SetPPIScreen(wxGetDisplayPPI());
  printout_->SetPPIPrinter(kPrinterDpi, kPrinterDpi);
  printout_->SetPageSizePixels(paper_.x, paper_.y);
  printout_->SetPaperRectPixels(wxRect(paper_));
  printout_->SetPageSizeMM(paper_.x * 254 / (kPrinterDpi * 10), paper_.y * 254 / (kPrinterDpi * 10));
  printout_->SetDC(&dc);
  int minPage, toPage, fromPage;
  printout_->GetPageInfo(&minPage, &pageCount_, &fromPage, &toPage);
  printout_->SetDC(nullptr);
  wxAcceleratorEntry keys[2] = {{wxACCEL_NORMAL, WXK_ESCAPE, kClosePreview}, {wxACCEL_ALT, 'C', kClosePreview}};
  SetAcceleratorTable(wxAcceleratorTable(2, keys));
  Bind(wxEVT_TOOL, &TPavPreviewWin::OnCommand, this);
  Bind(wxEVT_MENU, &TPavPreviewWin::OnCommand, this);
  Bind(wxEVT_UPDATE_UI, &TPavPreviewWin::OnUpdate, this);
  Bind(wxEVT_CLOSE_WINDOW, &TPavPreviewWin::OnClose, this);
  ShowPages();
}

TPavPreviewWin::~TPavPreviewWin() = default;

void TPavPreviewWin::BuildToolBar() {
  tools_ = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT | wxTB_TEXT);
  tools_->SetFont(wxFont(wxFontInfo(kToolBarFontSize)));
  wxSize size(16, 16);
  tools_->AddTool(kPreviousPage, "Previous", wxArtProvider::GetBitmap(wxART_GO_BACK, wxART_TOOLBAR, size));
  tools_->AddTool(kNextPage, "Next", wxArtProvider::GetBitmap(wxART_GO_FORWARD, wxART_TOOLBAR, size));
  tools_->AddSeparator();
  tools_->AddTool(kOnePage, "One", wxArtProvider::GetBitmap(wxART_NORMAL_FILE, wxART_TOOLBAR, size));
  tools_->AddTool(kTwoPages, "Two", wxArtProvider::GetBitmap(wxART_COPY, wxART_TOOLBAR, size));
  tools_->AddSeparator();
  label_ = new wxStaticText(tools_, kPageLabel, "Page 1", wxDefaultPosition, wxDefaultSize,
                            wxST_NO_AUTORESIZE | wxBORDER_SUNKEN);
  label_->SetMinSize(wxSize(label_->GetCharWidth() * (kLabelCharacters + 2), -1));
  tools_->AddControl(label_);
  tools_->AddSeparator();
  tools_->AddTool(kPrintCommand, "Print", ToolGlyph(kPrintCommand));
  tools_->AddSeparator();
  tools_->AddTool(kClosePreview, "Close", wxArtProvider::GetBitmap(wxART_CLOSE, wxART_TOOLBAR, size));
  tools_->Realize();
}

void TPavPreviewWin::PlacePages() {
  wxSize area = layout_->GetClientSize();
  int views = shown_.two ? 2 : 1;
  int width, height;
  PageViewSize((area.x - kGap * (views - 1)) / views, area.y, paper_.x, paper_.y, &width, &height);
  int left = (area.x - views * width - (views - 1) * kGap) / 2;
  int top = (area.y - height) / 2;
  pages_[0]->SetSize(left, top, width, height);
  pages_[1]->SetSize(left + width + kGap, top, width, height);
  pages_[1]->Show(shown_.two);
}

wxString TPavPreviewWin::Label() const {
  char text[32];
  PageLabel(shown_, text, sizeof text);
  return text;
}

void TPavPreviewWin::ShowPages() {
  pages_[0]->page = shown_.first;
  pages_[1]->page = SecondViewPage(shown_, pageCount_);
  label_->SetLabel(Label());
  PlacePages();
  pages_[0]->Refresh();
  pages_[1]->Refresh();
}

void TPavPreviewWin::DrawPage(wxDC& dc, int page, const wxSize& size) {
  dc.SetBackground(*wxWHITE_BRUSH);
  dc.Clear();
  dc.SetPen(*wxBLACK_PEN);
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(wxPoint(0, 0), size);
  if (page < 1 || size.x <= 0 || size.y <= 0 || !printout_->HasPage(page)) return;
  wxBitmap sheet(paper_.x, paper_.y);
  {
    wxMemoryDC memory(sheet);
    memory.SetBackground(*wxWHITE_BRUSH);
    memory.Clear();
    BeginPrinting();
    printout_->SetDC(&memory);
    printout_->OnPrintPage(page);
    printout_->SetDC(nullptr);
    EndPrinting();
  }
  dc.DrawBitmap(wxBitmap(sheet.ConvertToImage().Scale(size.x, size.y, wxIMAGE_QUALITY_HIGH)), 0, 0);
}

bool TPavPreviewWin::Enabled(int id) const {
  switch (id) {
    case kPreviousPage: return CanShowPrevious(shown_);
    case kNextPage: return CanShowNext(shown_, pageCount_);
    case kTwoPages: return !Landscape();
    case kPrintCommand: return PrintCommandsEnabled();
    default: return true;
  }
}

void TPavPreviewWin::OnUpdate(wxUpdateUIEvent& event) {
  switch (event.GetId()) {
    case kPreviousPage: case kNextPage: case kTwoPages: case kPrintCommand:
      event.Enable(Enabled(event.GetId()));
      break;
    default: event.Skip();
  }
}

void TPavPreviewWin::OnCommand(wxCommandEvent& event) {
  switch (event.GetId()) {
    case kPreviousPage: ShowPrevious(shown_, 1); break;
    case kNextPage: ShowNext(shown_, pageCount_); break;
    case kOnePage: ShowOnePage(shown_); break;
    case kTwoPages:
      if (!Enabled(kTwoPages)) return;
      ShowTwoPages(shown_, pageCount_);
      break;
    case kPrintCommand: PrintDocument(this); return;
    case kClosePreview: EndPreview(false); return;
    default: event.Skip(); return;
  }
  ShowPages();
}

int TPavPreviewWin::RunModal() {
  wxGUIEventLoop loop;
  loop_ = &loop;
  int answer = loop.Run();
  loop_ = nullptr;
  return answer;
}

void TPavPreviewWin::EndPreview(bool fromFrame) {
  if (!loop_ || closing_) return;
  closing_ = true;
  if (GetParent()) GetParent()->Freeze();
  if (loop_) loop_->Exit(kCancel);
  if (fromFrame) PlayCue(kEditionCue);
}

// The preview is destroyed by whoever ran it, once the loop has ended.
void TPavPreviewWin::OnClose(wxCloseEvent& event) {
  if (!loop_) {
    event.Skip();
    return;
  }
  if (event.CanVeto()) event.Veto();
  EndPreview(true);
}
