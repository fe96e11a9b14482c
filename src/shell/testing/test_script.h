// The window's test mode, for the tests that drive the real window under a
// virtual display. PAVSDI_TEST_SCRIPT names a file of steps run one by one
// once the window is up, PAVSDI_TEST_LOG the file where every box, cue,
// started program and dispatched command is written as a line:
//   BOX<TAB>INFO|ASK<TAB>caption<TAB>text<TAB>answer   CUE<TAB>path
//   RUN<TAB>command line<TAB>show mode                   CMD<TAB>id
// Steps:
//   answer 6|7|2|show   the next question's answer ("show": shown for real;
//                       those before the first step that acts, waits
//                       aside, are ready for a question asked as the
//                       window comes up)
//   file PATH|cancel    the next open or save dialog's answer
//   key [alt+|ctrl+|shift+]KEY   a key through the keyboard (to the
//   editor, or to the box that shows)   rawkey KEY   a key to whichever
//   window has the focus   hover ID   the pointer over a tool
//   updateui   menus and tools follow their enable checks
//   search find|replace|all FLAGS FIND [REPLACE]   the search dialog
//   filled and one of its buttons pressed (FLAGS: w, c, u or -)
//   command ID  recent INDEX  drop PATH  type TEXT
//   waitbox  waitclosed (till no box shows, e.g. answered by another
//   program)  wait MS  screenshot PATH  dump PATH  quit
// Without the variables nothing of this is active.
#pragma once
#include <string>

#include "platform/platform.h"

class TPavPreviewWin;
class TSDIDecFrame;
class wxDialog;

namespace testscript {

// Reads the variables; called when the toolkit has started. False, and
// nothing of the test mode active, without PAVSDI_TEST_SCRIPT.
bool Open();

// Wraps the window's boxes, cues, started programs and file dialogs: boxes
// answered by the script (information boxes OK unless "answer show" is
// next, which shows the box for real), file dialogs answered by "file"
// steps, and every box, cue and program logged.
void WrapServices(platform::Services& services);

// Logs every command the frame dispatches, then runs the steps in the
// window's event loop.
void Start(TSDIDecFrame* frame);

void LogLine(const std::string& line);

// The about box or another modal dialog showing, and the print preview;
// null when none.
wxDialog* ShownDialog();
TPavPreviewWin* ShownPreview();

}  // namespace testscript
