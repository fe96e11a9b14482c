// The Windows half of sound_library.h: the module is a DLL beside the
// program (or in its parent folder, the build tree's tests and tools).
#include <windows.h>

#include "drivers/sound_library.h"
#include "formats/wide_text.h"
#include "platform/paths.h"

namespace drivers {
namespace {

constexpr char kWindowsModuleFile[] = "pavsdi-sound.dll";

const SoundLibrary* Load() {
  std::string directory = platform::ProgramDirectory();
  if (directory.empty()) return nullptr;
  for (const char* relative : {"\\", "\\..\\"}) {
    std::wstring path = formats::Widen(directory + relative + kWindowsModuleFile);
    // Never freed: a sound output may still be opening on its own thread.
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) continue;
    auto entry = reinterpret_cast<const SoundLibrary* (*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, kSoundModuleEntry)));
    if (entry) return entry();
  }
  return nullptr;
}

}  // namespace

const SoundLibrary* LoadSoundLibrary() {
  static const SoundLibrary* library = Load();
  return library;
}

}  // namespace drivers
