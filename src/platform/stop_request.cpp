#include "platform/stop_request.h"

namespace platform {
namespace {

bool requested = false;
TStopPoll installedPoll = nullptr;

}  // namespace

bool StopRequested() {
  if (!requested && installedPoll && installedPoll()) requested = true;
  return requested;
}

void ClearStopRequest() { requested = false; }

void RequestStop() { requested = true; }

void SetStopPoll(TStopPoll poll) { installedPoll = poll; }

}  // namespace platform
