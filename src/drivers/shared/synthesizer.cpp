#include "drivers/synthesizer.h"

#include "drivers/sound_library.h"

namespace drivers {

// Every call goes to the sound module, which a synthesizer's existence
// proves loaded.
Synthesizer::Synthesizer(Parts* parts) : parts_(parts) {}

std::unique_ptr<Synthesizer> Synthesizer::Create() {
  const SoundLibrary* library = LoadSoundLibrary();
  Parts* parts = library ? library->createSynth() : nullptr;
  if (!parts) return nullptr;
  return std::unique_ptr<Synthesizer>(new Synthesizer(parts));
}

Synthesizer::~Synthesizer() { LoadSoundLibrary()->destroySynth(parts_); }

bool Synthesizer::LoadSoundFont(const std::string& path) {
  if (soundFont_ < 0) soundFont_ = LoadSoundLibrary()->loadSoundFont(parts_, path.c_str());
  return soundFont_ >= 0;
}

void Synthesizer::Send(const uint8_t* bytes, int length) { LoadSoundLibrary()->send(parts_, bytes, length); }

void Synthesizer::Render(int16_t* out, size_t frames) { LoadSoundLibrary()->render(parts_, out, frames); }

bool Synthesizer::StartOutput(int timeoutMs) { return LoadSoundLibrary()->startOutput(parts_, timeoutMs); }

void Synthesizer::StopOutput() { LoadSoundLibrary()->stopOutput(parts_); }

bool IsSoundFont(const std::string& path) {
  if (path.empty()) return false;
  const SoundLibrary* library = LoadSoundLibrary();
  return library && library->isSoundFont(path.c_str());
}

}  // namespace drivers
