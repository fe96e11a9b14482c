// Which sound outputs this machine offers, found by cheap checks only (a
// server's socket, the sound devices), so that asking never waits. The
// environment variable PAVSDI_AUDIO may force one ("pulseaudio", "alsa") or
// none at all ("none").
#pragma once
#include <vector>

namespace drivers {

enum class SoundOutput { kPulseAudio, kAlsa };

// The outputs worth trying, best first; empty when there is none. A PipeWire
// desktop answers as a PulseAudio server.
std::vector<SoundOutput> SoundOutputs();

// Keeps ALSA's own complaints (no card, no sequencer) off the terminal.
void QuietAlsa();

}  // namespace drivers
