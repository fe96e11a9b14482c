#include "drivers/sound_library.h"

#include <dlfcn.h>

#include "drivers/pcm_player.h"
#include "platform/paths.h"

namespace drivers {
namespace {

const SoundLibrary* Load() {
  std::string directory = platform::ProgramDirectory();
  if (directory.empty()) return nullptr;
  for (const char* relative : {"/", "/../", "/../lib/pavsdi/modules/"}) {
    std::string path = directory + relative + kSoundModuleFile;
    // Never closed: a sound output may still be opening on its own thread.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) continue;
    auto entry = reinterpret_cast<const SoundLibrary* (*)()>(dlsym(module, kSoundModuleEntry));
    if (entry) return entry();
  }
  return nullptr;
}

}  // namespace

const SoundLibrary* LoadSoundLibrary() {
  static const SoundLibrary* library = Load();
  return library;
}

bool ReadSoundFile(const std::string& path, PcmSound* sound) {
  const SoundLibrary* library = LoadSoundLibrary();
  return library && library->readSoundFile(path, sound);
}

bool PlayPcm(const PcmSound& sound) {
  const SoundLibrary* library = LoadSoundLibrary();
  return library && library->playPcm(sound);
}

}  // namespace drivers
