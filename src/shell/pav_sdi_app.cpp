#include "shell/pav_sdi_app.h"

#include <wx/iconbndl.h>

#include "app/application.h"
#include "app/document_registration.h"
#include "app/document_window.h"
#include "app/file_commands.h"
#include "shell/check_list_dlg.h"
#include "shell/glyphs.h"
#include "shell/kept_text.h"
#include "shell/pav_sdi_edit_file.h"
#include "shell/sdi_dec_frame.h"
#include "shell/wx_text.h"

TPavSdiApp::TPavSdiApp() { SetAppDisplayName(Wx(kProductCaption)); }

// Command-line switches are the program's own: the toolkit's parser is not run.
bool TPavSdiApp::OnInit() {
  SetUpMainWindow();
  if (readyHook_) readyHook_(frame_);
  RegisterOrUnregister(argc, Arguments().data());
  OfferKeptText(frame_->Client());
  return true;
}

// The command line in the program's own characters.
std::vector<const char*> TPavSdiApp::Arguments() {
  arguments_.clear();
  for (int i = 0; i < argc; ++i) arguments_.push_back(Cp1252(argv[i]));
  std::vector<const char*> pointers;
  for (const std::string& a : arguments_) pointers.push_back(a.c_str());
  return pointers;
}

void TPavSdiApp::SetUpMainWindow() {
  frame_ = new TSDIDecFrame(Wx(kProductCaption));
  StartApplication(kProductCaption);
  RegisterDocumentCommands();
  RegisterCheckList(frame_->Client());
  frame_->Client()->SetupWindow();
  KeepUnsavedTextOnTheWayOut(frame_->Client());
  frame_->DragAcceptFiles(true);
  wxIconBundle icons;
  icons.AddIcon(ApplicationIcon(16));
  icons.AddIcon(ApplicationIcon(32));
  frame_->SetIcons(icons);
  frame_->AssignMenu();
  frame_->InsertStatusBar();
  frame_->InsertToolBar();
  SetTopWindow(frame_);
  frame_->Show();
  frame_->Client()->SetFocus();
}
