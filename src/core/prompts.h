// Boxes, questions and sound cues: how the program talks to its user.
#pragma once

// Answers of a question.
constexpr int kYes = 6;
constexpr int kNo = 7;
constexpr int kCancel = 2;
constexpr int kNoBox = 0;  // both strings were empty, nothing was shown

// Information box with an OK button; 0 and nothing shown when both strings
// are empty.
int ShowInfo(const char* text, const char* caption);

// Yes/No/Cancel question; answers kYes, kNo or kCancel, or kNoBox when both
// strings are empty.
int AskYesNoCancel(const char* text, const char* caption);

// Plays a sound cue to its end; a missing file plays a short default sound.
void PlayCue(const char* path);

// Starts a companion program or page without waiting for it.
void RunProgram(const char* commandLine, int showMode);
// Ends what RunProgram started with this command line, if it still runs.
void EndProgram(const char* commandLine);

// The box types of the platform's message boxes.
constexpr unsigned kInfoBox = 64;     // OK button and the information icon
constexpr unsigned kQuestionBox = 3;  // Yes, No and Cancel, no icon

// The show mode of a companion program's window.
constexpr int kShowMaximized = 3;
