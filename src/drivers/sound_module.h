// Inside the sound module: the functions its entry point hands out.
#pragma once
#include "drivers/sound_library.h"

namespace drivers::sound_module {

Synthesizer::Parts* CreateSynth();
void DestroySynth(Synthesizer::Parts* parts);
int LoadSoundFont(Synthesizer::Parts* parts, const char* path);
void Send(Synthesizer::Parts* parts, const uint8_t* bytes, int length);
void Render(Synthesizer::Parts* parts, int16_t* out, size_t frames);
bool StartOutput(Synthesizer::Parts* parts, int timeoutMs);
void StopOutput(Synthesizer::Parts* parts);
bool IsSoundFont(const char* path);
bool ReadSoundFile(const std::string& path, PcmSound* sound);
bool PlayPcm(const PcmSound& sound);

}  // namespace drivers::sound_module
