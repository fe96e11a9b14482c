// The application: builds the main window and runs until it is closed.
#pragma once
#include <wx/app.h>

class TSDIDecFrame;

class TPavSdiApp : public wxApp {
 public:
  TPavSdiApp();
  bool OnInit() override;

  // The main window with its menus, status bar and tool bar.
  void SetUpMainWindow();
  TSDIDecFrame* Frame() const { return frame_; }

 private:
  TSDIDecFrame* frame_ = nullptr;
};
