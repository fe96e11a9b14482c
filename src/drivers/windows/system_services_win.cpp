// The machine's own back ends on Windows: the MIDI devices of the device
// table and the clipboard. The document types are the window's to register.
#include "drivers/clipboards.h"
#include "drivers/device_table.h"
#include "drivers/system_services.h"
#include "platform/platform.h"

namespace drivers {

void InstallSystemServices() {
  platform::Services services = platform::Get();
  services.clipboard = EnvironmentClipboard();
  services.devices = BuildDeviceTable;
  platform::Install(services);
}

}  // namespace drivers
