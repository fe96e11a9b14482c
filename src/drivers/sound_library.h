// The sound libraries (synthesizer, sound output, sound files) live in a
// module of their own that the program loads on first use: a run that
// never sounds, such as writing a MIDI file from the command line, then
// never pays for loading them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "drivers/sound_files.h"
#include "drivers/synthesizer.h"

namespace drivers {

// What the module offers, behind one entry point.
struct SoundLibrary {
  Synthesizer::Parts* (*createSynth)();  // nullptr on failure
  void (*destroySynth)(Synthesizer::Parts* parts);
  int (*loadSoundFont)(Synthesizer::Parts* parts, const char* path);  // < 0 on failure
  void (*send)(Synthesizer::Parts* parts, const uint8_t* bytes, int length);
  void (*render)(Synthesizer::Parts* parts, int16_t* out, size_t frames);
  bool (*startOutput)(Synthesizer::Parts* parts, int timeoutMs);
  void (*stopOutput)(Synthesizer::Parts* parts);
  bool (*isSoundFont)(const char* path);
  bool (*readSoundFile)(const std::string& path, PcmSound* sound);
  bool (*playPcm)(const PcmSound& sound);
};

// The module's file name, looked for beside the program, in its parent
// directory (the build tree's tests and tools) and in ../lib/pavsdi/modules
// (installed).
inline constexpr char kSoundModuleFile[] = "pavsdi-sound.so";
inline constexpr char kSoundModuleEntry[] = "pavsdi_sound_library";

// Loaded on the first call, kept for the run; nullptr when the module cannot
// be loaded: then nothing sounds, as on a machine without sound output.
const SoundLibrary* LoadSoundLibrary();

}  // namespace drivers
