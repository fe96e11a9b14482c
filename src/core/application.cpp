#include "core/application.h"

#include "core/command_loop.h"

namespace {

TApplicationRunner installed = nullptr;

}  // namespace

void SetApplicationRunner(TApplicationRunner runner) { installed = runner; }

int RunApplication() { return installed ? installed() : RunCommandLoop(); }
