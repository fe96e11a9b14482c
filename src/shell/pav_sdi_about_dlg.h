// The about box (dialog 22000): the program's name and version, read from
// its version block when the box is set up.
#pragma once
#include <wx/dialog.h>
#include <wx/stattext.h>

class TPavSdiAboutDlg : public wxDialog {
 public:
  explicit TPavSdiAboutDlg(wxWindow* parent);
  // Fills the three texts from the version block.
  void SetupWindow();

 private:
  wxStaticText* title_;
  wxStaticText* version_;
  wxStaticText* copyright_;
  wxStaticText* special_;
};

// Command 2009: the box, modal, over the main window.
void ShowAboutBox(wxWindow* mainWindow);
