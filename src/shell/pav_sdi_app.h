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
  // Called once the main window is up, before anything else happens in it
  // (the window's test mode starts there).
  void SetWindowReadyHook(void (*hook)(TSDIDecFrame* frame)) { readyHook_ = hook; }

 private:
  std::vector<const char*> Arguments();

  TSDIDecFrame* frame_ = nullptr;
  void (*readyHook_)(TSDIDecFrame* frame) = nullptr;
  std::vector<std::string> arguments_;
};
