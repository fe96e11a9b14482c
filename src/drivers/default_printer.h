// The system's default printer, read again at every print so that a change
// of the default takes effect at the next print.
#pragma once
#include <string>

namespace drivers {

// LPDEST, then PRINTER, then the "Default" line of the user's and the
// system's lpoptions; "" when none is set.
std::string DefaultPrinterName();

// The printer of a "Default NAME[/INSTANCE] options" line in lpoptions text.
std::string LpOptionsDefault(const std::string& text);

}  // namespace drivers
