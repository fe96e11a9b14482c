// The keyboard while music plays at the terminal: Escape and Ctrl+C stop
// it, and whatever else is typed is thrown away, so that it never answers
// the next question. The terminal is out of its line mode (no echo, Ctrl+C
// a key) only for that time; the next question or prompt puts it back.
#pragma once

namespace drivers {

// The stop poll of the terminal (Services::stopPoll): true once Escape or
// Ctrl+C was pressed. The first call starts the watching.
bool StopKeyPressed();

// Ends the watching: the keys typed meanwhile are dropped and the terminal
// is as before. Does nothing when not watching.
void EndKeyWatch();

// Watches the keyboard until `fd` is readable (a companion program ended,
// as its process descriptor says); true when Escape or Ctrl+C came first.
bool StopKeyBefore(int fd);

}  // namespace drivers
