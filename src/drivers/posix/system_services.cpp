#include "drivers/system_services.h"

#include "drivers/clipboards.h"
#include "drivers/device_table.h"
#include "drivers/freedesktop_registry.h"
#include "platform/platform.h"

namespace drivers {

void InstallSystemServices() {
  static FreedesktopRegistry desktopRegistry;
  platform::Services services = platform::Get();
  services.clipboard = EnvironmentClipboard();
  services.registry = &desktopRegistry;
  services.devices = BuildDeviceTable;
  platform::Install(services);
}

}  // namespace drivers
