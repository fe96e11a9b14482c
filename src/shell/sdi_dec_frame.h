// The main window: menu bar, accelerators, dockable tool bar, status bar,
// and the document window as its client. Commands that the document window
// does not handle go to the command table.
#pragma once
#include <vector>

#include <wx/accel.h>
#include <wx/aui/framemanager.h>
#include <wx/frame.h>
#include <wx/timer.h>

class TPavSdiEditFile;

class TSDIDecFrame : public wxFrame {
 public:
  // Without a client, creates its document window.
  TSDIDecFrame(const wxString& caption, TPavSdiEditFile* client = nullptr);
  ~TSDIDecFrame() override;

  TPavSdiEditFile* Client() const { return client_; }

  // The set-up steps of the application's main window.
  void AssignMenu();
  void InsertStatusBar();
  void InsertToolBar();

  // The recent files as menu items, after a change of the list.
  void RefreshRecentFiles();
  // The current tablature's name in the status bar.
  void ShowCurrentTablature();
  // The first of the dropped files.
  void DropFiles(const wxArrayString& names);

  const std::vector<wxAcceleratorEntry>& Accelerators() const { return accelerators_; }
  wxToolBar* ToolBar() const { return toolBar_; }

 private:
  void OnCommand(wxCommandEvent& event);
  void OnUpdateEdit(wxUpdateUIEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnDropFiles(wxDropFilesEvent& event);
  void OnToolEnter(wxCommandEvent& event);
  void OnLockTimer(wxTimerEvent& event);
  void HintDisabledTool();

  TPavSdiEditFile* client_;
  wxAuiManager harbor_;
  wxToolBar* toolBar_ = nullptr;
  wxTimer lockTimer_;
  std::vector<wxAcceleratorEntry> accelerators_;
  int recentShown_ = 0;
  int hintedTool_ = 0;  // the disabled tool whose hint the status bar shows
};
