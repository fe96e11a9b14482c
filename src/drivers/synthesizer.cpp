#include "drivers/synthesizer.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "drivers/sound_output.h"

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
    QuietAlsa();
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

Synthesizer::Synthesizer(Parts* parts) : parts_(parts) {}

std::unique_ptr<Synthesizer> Synthesizer::Create() {
  QuietFluidSynth();
  auto* parts = new Parts;
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
  return std::unique_ptr<Synthesizer>(new Synthesizer(parts));
}

Synthesizer::~Synthesizer() {
  if (parts_->hung) return;  // the opening thread may still use them
  StopOutput();
  delete_fluid_synth(parts_->synth);
  delete_fluid_settings(parts_->settings);
  delete parts_;
}

bool Synthesizer::LoadSoundFont(const std::string& path) {
  if (soundFont_ < 0) soundFont_ = fluid_synth_sfload(parts_->synth, path.c_str(), 1);
  return soundFont_ >= 0;
}

void Synthesizer::Send(const uint8_t* bytes, int length) {
  fluid_synth_t* s = parts_->synth;
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

void Synthesizer::Render(int16_t* out, size_t frames) {
  constexpr size_t kChunk = 512;
  float left[kChunk];
  float right[kChunk];
  while (frames > 0) {
    size_t n = std::min(frames, kChunk);
    fluid_synth_write_float(parts_->synth, static_cast<int>(n), left, 0, 1, right, 0, 1);
    for (size_t i = 0; i < n; ++i) {
      *out++ = ToSample(left[i]);
      *out++ = ToSample(right[i]);
    }
    frames -= n;
  }
}

bool Synthesizer::StartOutput(int timeoutMs) {
  if (parts_->driver) return true;
  if (parts_->hung) return false;
  for (SoundOutput output : SoundOutputs()) {
    fluid_settings_setstr(parts_->settings, "audio.driver", SoundOutputDriverName(output));
    auto opening = std::make_shared<Opening>();
    Parts* parts = parts_;
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
      parts_->hung = true;
      return false;
    }
    parts_->driver = opening->driver;
    if (parts_->driver) return true;
  }
  return false;
}

void Synthesizer::StopOutput() {
  if (!parts_->driver) return;
  delete_fluid_audio_driver(parts_->driver);
  parts_->driver = nullptr;
}

std::string FindSoundFont() {
  if (const char* chosen = std::getenv("PAVSDI_SOUNDFONT"); chosen && *chosen) return chosen;
  // Measured: the Fluid R3 set gives the truest piano, organ and guitar and,
  // loaded on demand, starts fast; the small TimGM6mb is the fallback.
  static const char* const kCandidates[] = {
      "/usr/share/sounds/sf2/FluidR3_GM.sf2",
      "/usr/share/sounds/sf2/default-GM.sf2",
      "/usr/share/sounds/sf3/default-GM.sf3",
      "/usr/share/sounds/sf2/TimGM6mb.sf2",
  };
  for (const char* path : kCandidates) {
    struct stat info;
    if (stat(path, &info) == 0 && S_ISREG(info.st_mode)) return path;
  }
  return {};
}

bool IsSoundFont(const std::string& path) { return !path.empty() && fluid_is_soundfont(path.c_str()); }

}  // namespace drivers
