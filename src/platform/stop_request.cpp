#include "platform/stop_request.h"

#include "platform/platform.h"

namespace platform {
namespace {

bool requested = false;

}  // namespace

bool StopRequested() {
  if (!requested && Get().stopPoll()) requested = true;
  return requested;
}

bool StopSeen() { return requested; }

void ClearStopRequest() { requested = false; }

void RequestStop() { requested = true; }

}  // namespace platform
