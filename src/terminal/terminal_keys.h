// Reading the person at the terminal: bytes as they are typed, and the
// answer to a question as one key without Enter. The terminal's own
// settings are kept at the start and put back whatever happens: after each
// key, on Ctrl+C and SIGTERM, and at the end of the program.
#pragma once

namespace drivers {

// Remembers the terminal's settings and puts them back at shutdown.
void KeepTerminalSettings();

// While a prompt waits on its line, an interrupt ends that line first, so
// that the shell's prompt starts on a line of its own.
void SetPromptOpen(bool open);

// One byte of standard input; false at its end. Acts on Ctrl+C and SIGTERM.
bool ReadInputByte(unsigned char* byte);

// 6 for o, y and Enter (Oui is the box's default button), 7 for n, 2 for
// Escape; -1 for any other key, which answers nothing.
int AnswerFromKey(int key);

// Waits for a key that answers (6, 7 or 2; 2 at the end of input). Where
// standard input is not a terminal, the first character of a line answers.
int ReadAnswerKey();

}  // namespace drivers
