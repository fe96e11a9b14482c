// The user's request to stop the music that plays (Escape in the window).
// The program is busy while it plays, so the request is polled: the players
// ask StopRequested() before each note, the live devices' waits while they
// sleep, and on true the players switch every sounding note off and return.
#pragma once

namespace platform {

// True when the user asked to stop since the last ClearStopRequest. Polls
// the installed source (Services::stopPoll, the window's Escape key) and
// stays true once seen.
bool StopRequested();

// True when a stop was seen since the last ClearStopRequest, without
// asking the source again.
bool StopSeen();

// Forgets the request; done before every command.
void ClearStopRequest();

// Asks to stop (tests, or a source that is told rather than polled).
void RequestStop();

}  // namespace platform
