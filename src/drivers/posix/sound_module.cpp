#include "drivers/sound_module.h"

extern "C" __attribute__((visibility("default"))) const drivers::SoundLibrary* pavsdi_sound_library() {
  using namespace drivers::sound_module;
  static const drivers::SoundLibrary library = {
      CreateSynth, DestroySynth, LoadSoundFont, Send,        Render,
      StartOutput, StopOutput,   IsSoundFont,   ReadSoundFile, PlayPcm,
  };
  return &library;
}
