#include "shell/pav_sdi_app.h"

#include <wx/iconbndl.h>

#include "core/file_commands.h"
#include "shell/glyphs.h"
#include "shell/pav_sdi_edit_file.h"
#include "shell/sdi_dec_frame.h"
#include "shell/test_script.h"
#include "shell/wx_text.h"

TPavSdiApp::TPavSdiApp() { SetAppDisplayName(Wx(kProductCaption)); }

// Command-line switches are the program's own: the toolkit's parser is not run.
bool TPavSdiApp::OnInit() {
  SetUpMainWindow();
  testscript::Start(frame_);
  return true;
}

void TPavSdiApp::SetUpMainWindow() {
  frame_ = new TSDIDecFrame(Wx(kProductCaption));
  frame_->Client()->SetupWindow();
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
