// The soundfont that comes with the Windows programs: share\soundfonts
// beside them (or beside their parent folder, the build tree's tools and
// tests), next to the data template but never copied into an account's
// data.
#include <windows.h>

#include <cstdlib>

#include "drivers/synthesizer.h"
#include "formats/wide_text.h"
#include "platform/paths.h"

namespace drivers {

std::string FindSoundFont() {
  if (const wchar_t* chosen = _wgetenv(L"PAVSDI_SOUNDFONT"); chosen && *chosen) return formats::Narrow(chosen);
  std::string program = platform::ProgramDirectory();
  if (program.empty()) return {};
  for (const char* relative : {"\\share\\soundfonts\\TimGM6mb.sf2", "\\..\\share\\soundfonts\\TimGM6mb.sf2"}) {
    DWORD attributes = GetFileAttributesW(formats::Widen(program + relative).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return program + relative;
  }
  return {};
}

}  // namespace drivers
