#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "drivers/sound_module.h"
#include "drivers/synth_outputs.h"

namespace drivers {

struct Synthesizer::Parts {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_audio_driver_t* driver = nullptr;
  bool hung = false;  // a driver still opening on another thread uses us
};

namespace {

void IgnoreLog(int, const char*, void*) {}

void QuietFluidSynth() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, IgnoreLog, nullptr);
  });
}

// One attempt at opening an output, shared with the thread that makes it so
// that either side may be the last to look.
struct Opening {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  fluid_audio_driver_t* driver = nullptr;
};

int16_t ToSample(float value) {
  float scaled = std::round(value * 32767.0f);
  return static_cast<int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

}  // namespace

namespace sound_module {

Synthesizer::Parts* CreateSynth() {
  QuietFluidSynth();
  auto* parts = new Synthesizer::Parts;
  parts->settings = new_fluid_settings();
  fluid_settings_setnum(parts->settings, "synth.sample-rate", kSynthRate);
  fluid_settings_setint(parts->settings, "synth.polyphony", kSynthPolyphony);
  // Louder than the library's 0.2: a melody then peaks near -12 dBFS and a
  // six-note chord at full velocity still stays below clipping.
  fluid_settings_setnum(parts->settings, "synth.gain", 0.5);
  // Samples are read when an instrument is first chosen: the large General
  // MIDI soundfont then loads in a tenth of a second and stays small.
  fluid_settings_setint(parts->settings, "synth.dynamic-sample-loading", 1);
  parts->synth = new_fluid_synth(parts->settings);
  if (!parts->synth) {
    delete_fluid_settings(parts->settings);
    delete parts;
    return nullptr;
  }
  return parts;
}

void DestroySynth(Synthesizer::Parts* parts) {
  if (parts->hung) return;  // the opening thread may still use them
  StopOutput(parts);
  delete_fluid_synth(parts->synth);
  delete_fluid_settings(parts->settings);
  delete parts;
}

int LoadSoundFont(Synthesizer::Parts* parts, const char* path) { return fluid_synth_sfload(parts->synth, path, 1); }

void Send(Synthesizer::Parts* parts, const uint8_t* bytes, int length) {
  fluid_synth_t* s = parts->synth;
  int channel = bytes[0] & 0x0F;
  int a = bytes[1];
  int b = length > 2 ? bytes[2] : 0;
  switch (bytes[0] & 0xF0) {
    case 0x80: fluid_synth_noteoff(s, channel, a); break;
    case 0x90: b ? fluid_synth_noteon(s, channel, a, b) : fluid_synth_noteoff(s, channel, a); break;
    case 0xA0: fluid_synth_key_pressure(s, channel, a, b); break;
    case 0xB0: fluid_synth_cc(s, channel, a, b); break;
    case 0xC0: fluid_synth_program_change(s, channel, a); break;
    case 0xD0: fluid_synth_channel_pressure(s, channel, a); break;
    case 0xE0: fluid_synth_pitch_bend(s, channel, a | (b << 7)); break;
  }
}

void Render(Synthesizer::Parts* parts, int16_t* out, size_t frames) {
  constexpr size_t kChunk = 512;
  float left[kChunk];
  float right[kChunk];
  while (frames > 0) {
    size_t n = std::min(frames, kChunk);
    fluid_synth_write_float(parts->synth, static_cast<int>(n), left, 0, 1, right, 0, 1);
    for (size_t i = 0; i < n; ++i) {
      *out++ = ToSample(left[i]);
      *out++ = ToSample(right[i]);
    }
    frames -= n;
  }
}

bool StartOutput(Synthesizer::Parts* parts, int timeoutMs) {
  if (parts->driver) return true;
  if (parts->hung) return false;
  for (const char* output : SynthOutputDrivers()) {
    fluid_settings_setstr(parts->settings, "audio.driver", output);
    auto opening = std::make_shared<Opening>();
    std::thread([opening, parts] {
      fluid_audio_driver_t* driver = new_fluid_audio_driver(parts->settings, parts->synth);
      std::lock_guard<std::mutex> lock(opening->mutex);
      opening->driver = driver;
      opening->finished = true;
      opening->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(opening->mutex);
    if (!opening->done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [&] { return opening->finished; })) {
      parts->hung = true;
      return false;
    }
    parts->driver = opening->driver;
    if (parts->driver) return true;
  }
  return false;
}

void StopOutput(Synthesizer::Parts* parts) {
  if (!parts->driver) return;
  delete_fluid_audio_driver(parts->driver);
  parts->driver = nullptr;
}

bool IsSoundFont(const char* path) { return fluid_is_soundfont(path); }

}  // namespace sound_module
}  // namespace drivers
