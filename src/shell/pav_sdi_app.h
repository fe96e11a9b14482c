// The application: builds the main window and runs until it is closed.
#pragma once
#include <string>
#include <vector>

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
  std::vector<const char*> Arguments();

  TSDIDecFrame* frame_ = nullptr;
  std::vector<std::string> arguments_;
};
