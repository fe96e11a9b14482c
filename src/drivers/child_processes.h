// The programs this program starts end with it: a companion left running
// would hold the sound device and leave its temporary files behind.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace drivers {

// The standard streams a child gets: descriptors of ours, -1 for /dev/null.
struct TChildStreams {
  int in = -1;
  int out = -1;
  int err = 2;
};

// The file of a program found on PATH (a name with a "/" is taken as it
// is); "" when there is none.
std::string FindProgram(const std::string& name);

// How a child ends. kWithUs: it stays in our process group and gets
// SIGTERM from the system when this program ends, even killed (a clipboard
// tool we wait for). kGroupWithUs: the same, and it leads a process group
// of its own that EndChildren ends with everything started in it (a
// companion, and the clipboard tool it leaves serving). kOnItsOwn: its own
// session, left running (the opener of a page: the browser is the user's).
enum class TChildEnd { kWithUs, kGroupWithUs, kOnItsOwn };

// Starts `words` in the background; -1 (errno set) when it could not be
// started.
pid_t StartChild(const std::vector<std::string>& words, TChildStreams streams, TChildEnd end);

// Ends the kGroupWithUs groups still there: SIGTERM, a short wait for their
// own clean end (a companion renames its recording into place), then
// SIGKILL and the removal of the temporary recording a killed one leaves.
// At an end the user chose (no signal), a companion still at work first
// gets half a second to finish. Runs as shutdown work once such a group
// was started.
void EndChildren();

}  // namespace drivers
