#include "drivers/sound_module.h"

// Cues play with the system's own player (audio_cues_win.cpp): the module
// reads and plays no sound file.
extern "C" __declspec(dllexport) const drivers::SoundLibrary* pavsdi_sound_library() {
  using namespace drivers::sound_module;
  static const drivers::SoundLibrary library = {
      CreateSynth, DestroySynth, LoadSoundFont, Send, Render, StartOutput, StopOutput, IsSoundFont, nullptr, nullptr,
  };
  return &library;
}
