// The machine's own back ends on Windows: the MIDI devices of the device
// table, the clipboard and the user's classes in the registry.
#include "drivers/clipboards.h"
#include "drivers/device_table.h"
#include "drivers/system_services.h"
#include "drivers/windows/classes_registry.h"
#include "platform/platform.h"

namespace drivers {

void InstallSystemServices() {
  static ClassesRegistry classesRegistry;
  platform::Services services = platform::Get();
  services.clipboard = EnvironmentClipboard();
  services.registry = &classesRegistry;
  services.devices = BuildDeviceTable;
  platform::Install(services);
}

}  // namespace drivers
