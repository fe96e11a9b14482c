// The window's test mode, for the tests that drive the real window under a
// virtual display. PAVSDI_TEST_SCRIPT names a file of steps run one by one
// once the window is up, PAVSDI_TEST_LOG the file where every box, cue,
// started program and dispatched command is written as a line:
//   BOX<TAB>INFO|ASK<TAB>caption<TAB>text<TAB>answer   CUE<TAB>path
//   RUN<TAB>command line<TAB>show mode                   CMD<TAB>id
// Steps:
//   answer 6|7|2|show   the next question's answer ("show": shown for real)
//   file PATH|cancel    the next open or save dialog's answer
//   key [alt+|ctrl+|shift+]KEY   a key through the keyboard
//   command ID  recent INDEX  drop PATH  type TEXT
//   waitbox  waitclosed (till no box shows, e.g. answered by another
//   program)  wait MS  screenshot PATH  dump PATH  quit
// Without the variables nothing of this is active.
#pragma once
#include <string>

class TSDIDecFrame;

namespace testscript {

// Reads the variables; called when the toolkit has started.
void Open();
bool Active();

// A question or box answered by the script (false: show it). Information
// boxes are answered OK unless "answer show" is next.
bool AnswerBox(bool question, int* answer);
void BoxShowing(bool showing);
// The next scripted file name (Windows-1252); false for "cancel" or none.
bool ChooseFile(std::string* name);

void LogBox(const char* text, const char* caption, bool question, int answer);
void LogCue(const char* path);
void LogProgram(const char* commandLine, int showMode);
void LogCommand(int id);

// Steps of other parts of the window: true when the verb was theirs.
using TStepHandler = bool (*)(const std::string& verb, const std::string& argument);
void AddSteps(TStepHandler handler);
void LogLine(const std::string& line);

// Runs the steps in the window's event loop.
void Start(TSDIDecFrame* frame);

}  // namespace testscript
